#include "meta/m2d/m2dHatchLoopRefListEntry.h"

m2dShapeBaseC m2dHatchLoopRefListEntryC::targetShape() const { return m2dShapeBaseC(targetNode(), 0); }
