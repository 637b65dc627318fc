#include "pass/step_meshes.h"

#include <algorithm>
#include <optional>

#include "base/allocation.h"
#include "base/same_bits.h"
#include "base/scratch.h"
#include "pass/broad_phase.h"
#include "pass/pass_work.h"
#include "sweep/reach.h"
#include "sweep/crossing.h"
#include "sweep/mesh_sweep.h"
#include "sweep/sweep_cache.h"
#include "world/mesh_index.h"
#include "world/object.h"
#include "world/rules.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

// The sweep runs in a space where the ellipsoid is a unit sphere.
constexpr float kUnitSphereRadius = 1.0f;

// Appends, growing the buffer with its contents kept; false when memory runs out.
bool push(MeshList& buffer, MeshShape* mesh) {
    if (!growWorkArray(buffer.data, buffer.count, buffer.capacity, buffer.count + 1)) return false;
    buffer.data[buffer.count++] = mesh;
    return true;
}

int32_t meshShapesOf(const CollisionBody& body) {
    int32_t count = 0;
    for (const CollisionShape* shape = body.shapesHead; shape; shape = shape->next) count += shape->kind == kShapeMesh;
    return count;
}

// The places (ascending) of partners whose bounds the step's reach meets.
// Returns the count, or -1 when memory runs out (the caller then visits
// every partner).
int32_t partnersInReach(const PartnerTable& table, const SweptBox& reach, ScratchBuffer& buffer,
                        const int32_t** places) {
    int32_t* out = reserveScratch(buffer, table.count);
    if (!out) return -1;
    int32_t found = queryBoxTree(table.tree, table.boxes, reach, out);
    // Unbounded bodies' empty boxes may or may not have matched: add them once.
    const auto isUnbounded = [&](int32_t place) {
        return std::binary_search(table.unbounded, table.unbounded + table.unboundedCount, place);
    };
    found = int32_t(std::remove_if(out, out + found, isUnbounded) - out);
    for (int32_t i = 0; i < table.unboundedCount; ++i) out[found++] = table.unbounded[i];
    std::sort(out, out + found);
    *places = out;
    return found;
}

// False only when no triangle of the mesh lies within the step's reach: its
// bounds moved to the world, widened as the table's are, are not met.
bool meshMeets(const MeshShape& mesh, const SweptBox& reach) {
    if (mesh.triangles.count == 0) return false;
    Box3 local;
    if (!meshBounds(mesh, local)) return true;
    const Box3 box = meshWorldBox(local, mesh.header.body->currentPosition);
    return !boxIsBoundable(box, Vec3{1, 1, 1}) || reach.meets(box);
}

// Whether the meshes of one partner meet a step's reach. The meshes of a
// body share its position, and usually its triangles too (a triangle goes
// to every mesh shape of its body): a mesh whose bounds are those of the
// mesh asked about before meets the reach as that one did.
class PartnerMeshReach {
public:
    explicit PartnerMeshReach(const SweptBox& reach) : reach_(reach) {}

    bool meets(const MeshShape& mesh) {
        if (!last_ || !sameBounds(*last_, mesh)) {
            lastMeets_ = meshMeets(mesh, reach_);
            last_ = &mesh;
        }
        return lastMeets_;
    }

private:
    // Bit for bit: what meshMeets reads of a mesh, its position aside.
    static bool sameBounds(const MeshShape& a, const MeshShape& b) {
        return (a.triangles.count == 0) == (b.triangles.count == 0) && a.allFinite == b.allFinite &&
               sameBits(a.bounds, b.bounds);
    }

    const SweptBox& reach_;
    const MeshShape* last_ = nullptr;
    bool lastMeets_ = false;
};

// A partner's shapes are put to the rules one by one: the rules' answer for
// a pair of shapes covers their bodies' types too.
bool mayPair(const EllipsoidShape& ellipsoid, const CollisionBody* partner, const CollisionBody* skip) {
    return partner != ellipsoid.header.body && partner->active && partner != skip;
}

// The partner's meshes that the ellipsoid meets, in shape order.
bool pushPairedMeshes(const World& world, MeshList& buffer, EllipsoidShape& ellipsoid, CollisionBody* partner,
                      const SweptBox* reach, const CollisionBody* skip) {
    if (!mayPair(ellipsoid, partner, skip)) return true;
    // A body's bounds in the partner tree are its one mesh's bounds: the
    // partner query has already tested them.
    if (reach && meshShapesOf(*partner) == 1) reach = nullptr;
    std::optional<PartnerMeshReach> inReach;
    if (reach) inReach.emplace(*reach);
    for (CollisionShape* shape = partner->shapesHead; shape; shape = shape->next) {
        if (!rulePairsShapes(world, &ellipsoid.header, shape)) continue;
        MeshShape* mesh = asMesh(shape);
        if (!mesh || (inReach && !inReach->meets(*mesh))) continue;
        if (!push(buffer, mesh)) return false;
    }
    return true;
}

// Lists the ellipsoid's meshes for a step from `from` to `to` (world). With
// a partner table only partners and meshes in reach are listed; without one,
// the plain path, every pair is. Valid until the next call with the same
// work. False when memory for the list runs out.
bool gatherStepMeshes(Pass& pass, EllipsoidShape& ellipsoid, const PartnerTable* table, Vec3 from, Vec3 to,
                      StepMeshes& out, const CollisionBody* skip) {
    MeshList& buffer = pass.work.stepMeshes;
    buffer.count = 0;
    bool ok = true;
    SweptBox reach;
    if (table && table->count == 1 && meshShapesOf(*table->bodies[0]) == 1) {
        // One mesh to meet (a level and its walkers): its own sweep bounds
        // what the step reaches, and bounding it here first would only cost.
        ok = pushPairedMeshes(pass.world, buffer, ellipsoid, table->bodies[0], nullptr, skip);
    } else if (!table || !sweptReach(from, to, ellipsoid.radii, table->bounds, reach)) {
        // The plain path, or a reach that cannot be bounded: every partner.
        for (CollisionBody* partner = pass.world.bodyListHead; partner && ok; partner = partner->next)
            ok = pushPairedMeshes(pass.world, buffer, ellipsoid, partner, nullptr, skip);
    } else {
        const int32_t* places = nullptr;
        const int32_t count = partnersInReach(*table, reach, pass.work.sweep.scratch.partners, &places);
        // Out of memory for the list: every meetable partner is a candidate.
        const int32_t visits = count < 0 ? table->count : count;
        for (int32_t i = 0; i < visits && ok; ++i)
            ok = pushPairedMeshes(pass.world, buffer, ellipsoid, table->bodies[count < 0 ? i : places[i]], &reach, skip);
    }
    out = StepMeshes{buffer.data, buffer.count};
    return ok;
}

// The reach-limited crossing test of chainCrossedBy over the pairs.
bool segmentCrossesPairedMeshes(Pass& pass, EllipsoidShape& ellipsoid, const PartnerTable* table, Vec3 from,
                                Vec3 to, const CollisionBody* skip) {
    StepMeshes meshes;
    if (gatherStepMeshes(pass, ellipsoid, table, from, to, meshes, skip)) {
        for (int32_t i = 0; i < meshes.count; ++i)
            if (segmentCrossesMesh(pass.work.sweep, *meshes.meshes[i], from, to)) return true;
        return false;
    }
    for (CollisionBody* partner = pass.world.bodyListHead; partner; partner = partner->next) {
        if (!mayPair(ellipsoid, partner, skip)) continue;
        for (CollisionShape* shape = partner->shapesHead; shape; shape = shape->next) {
            MeshShape* mesh = rulePairsShapes(pass.world, &ellipsoid.header, shape) ? asMesh(shape) : nullptr;
            if (mesh && segmentCrossesMesh(pass.work.sweep, *mesh, from, to)) return true;
        }
    }
    return false;
}

}  // namespace

const SweepResult* sweepStep(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 start, Vec3 end,
                             const Contact* firstContact, MeshShape** hitMesh) {
    StepMeshes meshes{&chain.onlyMesh, 1};
    CollisionBody& mover = *ellipsoid.header.body;
    if (!chain.onlyMesh && !gatherStepMeshes(pass, ellipsoid, chain.table, start, end, meshes, chain.skip)) {
        mover.passIncomplete = 1;
        return nullptr;
    }
    const SweepResult* best = nullptr;
    StepCacheHolder cache{&ellipsoid.sweepCache};
    for (int32_t i = 0; i < meshes.count; ++i) {
        MeshShape* mesh = meshes.meshes[i];
        std::optional<float> limit;
        if (best) limit = best->nearestDistance;
        const SweepResult* hit = SweepMesh(pass.work.sweep, mesh, start, end, ellipsoid.radii, kUnitSphereRadius,
                                           firstContact, &cache, limit);
        if (!hit) mover.passIncomplete = 1;
        if (hit && hit->found) {
            best = hit;
            *hitMesh = mesh;
        }
    }
    return best;
}

bool chainCrossedBy(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 from, Vec3 to) {
    if (chain.onlyMesh) return segmentCrossesMesh(pass.work.sweep, *chain.onlyMesh, from, to);
    return segmentCrossesPairedMeshes(pass, ellipsoid, chain.table, from, to, chain.skip);
}

void releaseMeshList(MeshList& list) {
    freeWorkArray(list.data);
    list = MeshList{};
}

}  // namespace zep
