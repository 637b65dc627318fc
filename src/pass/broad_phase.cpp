#include "pass/broad_phase.h"

#include <algorithm>
#include <cmath>

#include "base/allocation.h"
#include "base/scratch.h"
#include "index/triangle_index.h"
#include "sweep/reach.h"
#include "world/object.h"
#include "world/shapes.h"

namespace zep {

PartnerTable partnerTable;

namespace {


// A mesh's bounds moved to the world, widened for the rounding of the sum and
// of start - M, with which the sweeps move into the mesh's frame: a float
// rounding of these magnitudes is 2^-24 of them; sixteen are allowed.
constexpr double kWorldBoxSlack = 0x1p-20;

Box3 worldBox(const Box3& local, Vec3 position) {
    const double widen = kWorldBoxSlack * (largestMagnitude(local) + largestMagnitude(Box3{position, position}));
    return Box3{{float(double(local.lo.x) + position.x - widen), float(double(local.lo.y) + position.y - widen),
                 float(double(local.lo.z) + position.z - widen)},
                {float(double(local.hi.x) + position.x + widen), float(double(local.hi.y) + position.y + widen),
                 float(double(local.hi.z) + position.z + widen)}};
}

enum class Bounds { kNone, kBox, kUnbounded };

// The world bounds of all the body's triangles: none when it has no triangle
// (nothing of it can be met), unbounded when some mesh cannot be bounded.
Bounds bodyBounds(CollisionBody& body, Box3& out) {
    Bounds result = Bounds::kNone;
    for (CollisionShape* shape = body.shapesHead; shape; shape = shape->next) {
        MeshShape* mesh = asMesh(shape);
        if (!mesh || mesh->triangleCount == 0) continue;
        Box3 local;
        if (!meshBounds(*mesh, local)) return Bounds::kUnbounded;
        const Box3 box = worldBox(local, body.currentPosition);
        if (!boxIsBoundable(box, Vec3{1, 1, 1})) return Bounds::kUnbounded;
        out = result == Bounds::kBox ? unite(out, box) : box;
        result = Bounds::kBox;
    }
    return result;
}

bool reserve(PartnerTable& table, int32_t wanted) {
    if (wanted <= table.capacity) return true;
    CollisionBody** bodies = makeWorkArray<CollisionBody*>(size_t(wanted));
    Box3* boxes = makeWorkArray<Box3>(size_t(wanted));
    int32_t* unbounded = makeWorkArray<int32_t>(size_t(wanted));
    if (!bodies || !boxes || !unbounded) {
        freeWorkArray(bodies);
        freeWorkArray(boxes);
        freeWorkArray(unbounded);
        return false;
    }
    freeWorkArray(table.bodies);
    freeWorkArray(table.boxes);
    freeWorkArray(table.unbounded);
    table.bodies = bodies;
    table.boxes = boxes;
    table.unbounded = unbounded;
    table.capacity = wanted;
    return true;
}

}  // namespace

bool buildPartnerTable(PartnerTable& table) {
    int32_t bodies = 0;
    for (CollisionBody* body = bodyListHead; body; body = body->next) ++bodies;
    if (!reserve(table, bodies)) return false;
    table.count = table.unboundedCount = 0;
    table.bounds = Box3{};
    for (CollisionBody* body = bodyListHead; body; body = body->next) {
        if (!body->active) continue;
        Box3 box;
        const Bounds bounds = bodyBounds(*body, box);
        if (bounds == Bounds::kNone) continue;
        // An unbounded body keeps an empty box in the tree and is always a candidate.
        if (bounds == Bounds::kUnbounded) {
            table.unbounded[table.unboundedCount++] = table.count;
            box = Box3{};
        } else {
            table.bounds = table.count == table.unboundedCount ? box : unite(table.bounds, box);
        }
        table.bodies[table.count] = body;
        table.boxes[table.count++] = box;
    }
    return buildBoxTree(table.tree, table.boxes, table.count);
}

bool stepReach(const PartnerTable& table, Vec3 from, Vec3 to, Vec3 radii, SweptBox& out) {
    return sweptReach(from, to, radii, table.bounds, out);
}

int32_t partnersInReach(const PartnerTable& table, const SweptBox& reach, const int32_t** places) {
    int32_t* out = scratchPartners(table.count);
    if (!out) return -1;
    int32_t found = queryBoxTree(table.tree, table.boxes, reach, out);
    // Unbounded bodies' empty boxes may or may not have matched: add them once.
    found = int32_t(std::remove_if(out, out + found,
                                   [&](int32_t place) {
                                       return std::binary_search(table.unbounded,
                                                                 table.unbounded + table.unboundedCount, place);
                                   }) -
                    out);
    for (int32_t i = 0; i < table.unboundedCount; ++i) out[found++] = table.unbounded[i];
    std::sort(out, out + found);
    *places = out;
    return found;
}

bool meshMeets(const MeshShape& mesh, const SweptBox& reach) {
    if (mesh.triangleCount == 0) return false;
    Box3 local;
    if (!meshBounds(mesh, local)) return true;
    const Box3 box = worldBox(local, mesh.header.body->currentPosition);
    return !boxIsBoundable(box, Vec3{1, 1, 1}) || reach.meets(box);
}

void releasePartnerTable() {
    freeWorkArray(partnerTable.bodies);
    freeWorkArray(partnerTable.boxes);
    freeWorkArray(partnerTable.unbounded);
    freeBoxTree(partnerTable.tree);
    partnerTable = PartnerTable{};
}

}  // namespace zep
