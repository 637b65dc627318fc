#include "pass/broad_phase.h"

#include <algorithm>
#include <cmath>

#include "base/allocation.h"
#include "sweep/reach.h"
#include "world/mesh_index.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zep {

namespace {

// A mesh's bounds moved to the world, widened for the rounding of the sum and
// of start - M, with which the sweeps move into the mesh's frame: a float
// rounding of these magnitudes is 2^-24 of them; sixteen are allowed.
constexpr double kWorldBoxSlack = 0x1p-20;

}  // namespace

Box3 meshWorldBox(const Box3& local, Vec3 position) {
    const double widen = kWorldBoxSlack * (largestMagnitude(local) + largestMagnitude(Box3{position, position}));
    return Box3{{float(double(local.lo.x) + position.x - widen), float(double(local.lo.y) + position.y - widen),
                 float(double(local.lo.z) + position.z - widen)},
                {float(double(local.hi.x) + position.x + widen), float(double(local.hi.y) + position.y + widen),
                 float(double(local.hi.z) + position.z + widen)}};
}

namespace {

// What the partner table knows of a body's triangles.
struct BodyBounds {
    bool anyTriangle = false;  // without one, nothing of the body can be met
    bool unbounded = false;    // some mesh cannot be bounded
    bool anyBox = false;       // `box` holds the world bounds of the meshes that can
    Box3 box;
};

BodyBounds bodyBounds(CollisionBody& body) {
    BodyBounds out;
    for (CollisionShape* shape = body.shapesHead; shape; shape = shape->next) {
        MeshShape* mesh = asMesh(shape);
        if (!mesh || mesh->triangles.count == 0) continue;
        out.anyTriangle = true;
        Box3 local;
        const bool bounded = meshBounds(*mesh, local);
        const Box3 box = bounded ? meshWorldBox(local, body.currentPosition) : Box3{};
        if (!bounded || !boxIsBoundable(box, Vec3{1, 1, 1})) {
            out.unbounded = true;
            continue;
        }
        out.box = out.anyBox ? unite(out.box, box) : box;
        out.anyBox = true;
    }
    return out;
}

bool reserve(PartnerTable& table, int32_t wanted) {
    if (wanted <= table.capacity) return true;
    // The three arrays share one capacity, set once all three have it: an
    // array grown before another failed is only grown again next time.
    int32_t bodies = table.capacity, boxes = table.capacity, unbounded = table.capacity;
    if (!reserveWorkArray(table.bodies, bodies, wanted) || !reserveWorkArray(table.boxes, boxes, wanted) ||
        !reserveWorkArray(table.unbounded, unbounded, wanted))
        return false;
    table.capacity = wanted;
    return true;
}

}  // namespace

bool buildPartnerTable(const World& world, PartnerTable& table) {
    int32_t bodies = 0;
    for (CollisionBody* body = world.bodyListHead; body; body = body->next) ++bodies;
    if (!reserve(table, bodies)) return false;
    table.count = table.unboundedCount = 0;
    table.bounds = Box3{};
    bool anyBounds = false;
    for (CollisionBody* body = world.bodyListHead; body; body = body->next) {
        if (!body->active) continue;
        const BodyBounds bounds = bodyBounds(*body);
        if (!bounds.anyTriangle) continue;
        // The reach of a step is sized by how far the table's bounds lie from
        // it, and each mesh that can be bounded is then checked against that
        // reach, those of an unbounded body too: their bounds belong in it.
        if (bounds.anyBox) {
            table.bounds = anyBounds ? unite(table.bounds, bounds.box) : bounds.box;
            anyBounds = true;
        }
        // An unbounded body keeps an empty box in the tree and is always a candidate.
        if (bounds.unbounded) table.unbounded[table.unboundedCount++] = table.count;
        table.bodies[table.count] = body;
        table.boxes[table.count++] = bounds.unbounded ? Box3{} : bounds.box;
    }
    return buildBoxTree(table.tree, table.boxes, table.count);
}

void releasePartnerTable(PartnerTable& table) {
    freeWorkArray(table.bodies);
    freeWorkArray(table.boxes);
    freeWorkArray(table.unbounded);
    freeBoxTree(table.tree);
    table = PartnerTable{};
}

}  // namespace zep
