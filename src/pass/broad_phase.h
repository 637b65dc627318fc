// The broad phase of a pass: the partners a mover can possibly meet.
//
// Each pass lists the bodies that can be met (active, with triangles), in
// body-list order, with their world bounds in a box tree, which each sweep
// step asks for the partners within its reach (pass/step_meshes.h).
#pragma once

#include <cstdint>

#include "base/vec3.h"
#include "index/box_tree.h"

namespace zep {

struct CollisionBody;
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

// A mesh's bounds (its frame) moved to the world at `position`, widened for
// the rounding with which the sweeps move into the mesh's frame.
Box3 meshWorldBox(const Box3& local, Vec3 position);

void releasePartnerTable(PartnerTable& table);

}  // namespace zep
