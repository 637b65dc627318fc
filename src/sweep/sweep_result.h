// The nearest hit of one sweep of an ellipsoid against one mesh shape.
//
// Positions and vectors are in the sweep's ellipsoid space (relative to the
// mesh body, divided by the radii) except `triangle` and `radii`, which are in
// world units. Each accepted hit overwrites the common fields at once; fields a
// hit kind does not write keep what an earlier hit left, so readers look at
// edgeStart/edgeEnd only for edge hits and at vertex only for vertex hits.
#pragma once

#include <cstdint>

#include "base/vec3.h"

namespace zep {

enum HitKind : int32_t {
    kHitFace = 1,
    kHitEdge = 2,
    kHitVertex = 3,
};

struct SweepResult {
    float sphereRadius = 0.0f;
    bool found = false;
    float hitTime = 0.0f;  // fraction of the movement at the hit
    int32_t triangleNumber = 0;
    float nearestDistance = 0.0f;  // travel to the hit; the whole length at creation
    int32_t hitKind = 0;
    Vec3 contactPoint;
    Vec3 normal;  // face: unit normal; edge/vertex: feature to centre, length r
    Vec3 centerAtContact;
    Vec3 slideDestination;
    Vec3 moveToContact;
    Vec3 slideVector;
    Vec3 triangle[3];  // stored corners, mesh frame, world units
    Vec3 edgeStart;
    Vec3 edgeEnd;
    Vec3 vertex;
    Vec3 radii;  // world units
};

}  // namespace zep
