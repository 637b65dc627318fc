// The ellipsoid-space triangles a small mesh keeps between sweeps.
//
// A mesh too small for a tree is usually swept many times a pass with the
// same radii: the copies of one set of triangles that a body's mesh shapes
// hold, each met by every ellipsoid of a crowd. Dividing every corner by the
// radii and forming the normal again in each sweep is most of such a
// sweep's work; the mesh keeps them instead, each as the first sweep to test
// the triangle computed it, for the radii of the latest sweep.
#pragma once

#include <cstdint>

#include "base/vec3.h"
#include "world/sweep_records.h"

namespace zep {

// The mesh's entries for its first `listed` triangles with these radii,
// emptied when the radii differ from the last sweep's. nullptr when memory
// runs out: the sweep then computes every triangle itself.
FramedTriangle* framesFor(MeshFrames& frames, int32_t listed, const Vec3& radii);

}  // namespace zep
