// The registry pointers of the 3D model, null until the first registration.

#include "model3d/m3dRegistries.h"

metaClassRegistryC* m3dClassRegistry = nullptr;
metaClassRegistryC* m3dDocumentRegistry = nullptr;
metaClassRegistryC* m3dFeatureRegistry = nullptr;
