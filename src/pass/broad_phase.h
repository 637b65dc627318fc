// The broad phase of a pass: which partners a mover can possibly meet.
//
// Each pass lists the bodies that can be met (active, with triangles), in
// body-list order, with their world bounds in a box tree. Each sweep step of a
// mover asks for the partners within its reach and visits them in body-list order;
// a partner out of reach would only have made sweeps that find nothing, so
// leaving it out changes no result.
#pragma once

#include <cstdint>

#include "base/scratch.h"
#include "index/box_tree.h"

namespace zep {

struct CollisionBody;
struct EllipsoidShape;
struct MeshShape;
struct World;

struct PartnerTable {
    CollisionBody** bodies = nullptr;  // meetable bodies in body-list order
    Box3* boxes = nullptr;             // their world bounds
    int32_t* unbounded = nullptr;      // places of bodies with no usable bounds
    Box3 bounds;                       // of every mesh that can be bounded (the scale of their rounding)
    int32_t count = 0;
    int32_t unboundedCount = 0;
    int32_t capacity = 0;
    BoxTree tree{TreeMemory::kWork};  // over all places; unbounded ones are always candidates
};

// Lists this pass's meetable bodies. False when memory runs out; the pass
// then takes the plain path.
bool buildPartnerTable(const World& world, PartnerTable& table);

// The reach of a sweep step from `from` to `to` (world) of an ellipsoid with
// these radii, among the table's bodies. False when it cannot be bounded (the
// caller then visits every partner and every mesh).
bool stepReach(const PartnerTable& table, Vec3 from, Vec3 to, Vec3 radii, SweptBox& out);

// The places (ascending) of partners whose bounds the step's reach meets.
// Returns the count, or -1 when memory runs out (the caller then visits
// every partner).
int32_t partnersInReach(const PartnerTable& table, const SweptBox& reach, ScratchBuffer& buffer,
                        const int32_t** places);

// False only when no triangle of the mesh lies within the step's reach: its
// bounds moved to the world, widened as the table's are, are not met.
bool meshMeets(const MeshShape& mesh, const SweptBox& reach);

void releasePartnerTable(PartnerTable& table);

}  // namespace zep
