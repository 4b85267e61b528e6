#pragma once
// m3dNodeListC: an ordered list of tree nodes (pagedArrayC of node pointers, pages of 8), as the
// document operations return them. The list does not own the nodes it names.

#include "foundation/pagedArray.h"

class metaTreeC;

using m3dNodeListC = pagedArrayC<metaTreeC*>;

// An empty node list with pages of 8 entries.
inline m3dNodeListC makeNodeList() { return m3dNodeListC(3); }
