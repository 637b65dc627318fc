// Writing a hit into a sweep's record: the parts every kind of hit (face,
// edge, corner) writes alike.
#pragma once

#include <cstdint>

#include "base/vec3.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

// The header of a hit at `travel` along the sweep: the radius, found, the
// hit time (travel / sweepLength, in double, stored as a float), the
// triangle's number, the nearest distance (the travel, stored as a float)
// and the kind.
void storeHitHeader(SweepResult& result, float sphereRadius, int32_t triangleNumber, double travel,
                    float sweepLength, int32_t kind);

// The part every hit kind writes last: the two movement vectors, taken from
// the centre and slide destination already stored, and the stored corners.
void storeMovementAndCorners(SweepResult& result, const TriangleCorners& triangle, Vec3 start);

}  // namespace zep
