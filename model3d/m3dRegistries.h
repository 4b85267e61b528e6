#pragma once
// The three class registries of the 3D model: the 3D class registry (prototypes of
// m3dGeomOpBaseC, serving scaleGeometry and transformGeometry), the 3D document registry
// (prototypes of m3dDocumentC, serving the five document operations) and the feature registry
// (prototypes of m3dFeatGenC, serving the feature operations). Each is created by the first
// registration object at load and destroyed at unload; the registration objects own the
// prototypes. Also the class depths every 3D registration uses.

#include "meta/metaClassRegistry.h"
#include "meta/metaObject.h"

// Constant-initialised, so registration objects in any file may run first.
extern metaClassRegistryC* m3dClassRegistry;
extern metaClassRegistryC* m3dDocumentRegistry;
extern metaClassRegistryC* m3dFeatureRegistry;

// Depth of m3dGeomOpBaseC: one below metaObjectC. Every class counts one more than its base.
inline constexpr int m3dGeomOpDepth = metaObjectC::classDepth + 1;
