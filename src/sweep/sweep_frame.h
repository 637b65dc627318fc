// A sweep's frame: the path moved into a mesh's ellipsoid space (relative
// to the mesh body, divided by the radii), where the ellipsoid is a sphere.
// Every triangle test of one sweep reads it.
#pragma once

#include "base/vec3.h"
#include "sweep/reach.h"

namespace zep {

// What stays the same for every triangle of one sweep, in ellipsoid space.
struct SweepFrame {
    Vec3 S;
    Vec3 E;
    float sweepLength = 0.0f;
    Vec3 dir;  // unit, or (0, 0, 0) for a movement too short to have one
    float sphereRadius = 0.0f;
    // On the indexed path, corners and edges out of this reach are left
    // out; the reference path tests them all.
    bool pruneFarFeatures = false;
    FeatureReach featureReach;
};

// The last frame formed and what it was formed from, kept with the sweeps'
// working state: the meshes of one body share its position, so the sweeps
// of one step ask for the same frame mesh after mesh. Handed back while the
// question stays the same to the bit.
struct FrameMemo {
    Vec3 M;
    Vec3 start;
    Vec3 end;
    Vec3 radii;
    float sphereRadius = 0.0f;
    bool valid = false;
    SweepFrame frame;
};

// The frame of a sweep from `start` to `end` (world) against a mesh body at
// M, for these radii and sphere radius.
const SweepFrame& sweepFrameFor(FrameMemo& memo, Vec3 M, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius);

}  // namespace zep
