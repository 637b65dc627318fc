#include "world/shapes.h"

#include <cmath>
#include <cstring>

#include "base/allocation.h"
#include "base/intrusive_list.h"
#include "base/triangle_store.h"
#include "world/contact.h"
#include "world/mesh_block.h"
#include "index/index_records.h"
#include "world/object.h"

namespace zep {

namespace {

template <class Concrete>
Concrete* makeShape(int32_t kind) {
    Concrete* shape = makeRecord<Concrete>();
    if (!shape) return nullptr;
    shape->header.self = shape;
    shape->header.kind = kind;
    return shape;
}

TriangleCorners cornersOf(const float corners[9]) {
    return TriangleCorners{Vec3{corners[0], corners[1], corners[2]}, Vec3{corners[3], corners[4], corners[5]},
                           Vec3{corners[6], corners[7], corners[8]}};
}

// Appends into room reserved before, keeping the mesh's bounds.
void appendToMesh(MeshShape* mesh, const TriangleCorners& corners) {
    const Box3 box = triangleBox(corners);
    mesh->bounds = mesh->triangles.count == 0 ? box : unite(mesh->bounds, box);
    mesh->allFinite = mesh->allFinite && isFinite(corners);
    appendReserved(mesh->triangles, corners);
}

// Room for `count` more triangles in every mesh of the body, or in none: a
// command that runs out of memory part way leaves every mesh as it was, and
// one that does not gives all meshes all its triangles, so their numbering
// never drifts apart.
bool reserveInMeshes(const CollisionBody* body, int32_t count) {
    for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next) {
        MeshShape* mesh = asMesh(shape);
        if (!mesh || reserveTriangles(mesh->triangles, count)) continue;
        for (CollisionShape* reserved = body->shapesHead; reserved != shape; reserved = reserved->next)
            if (MeshShape* earlier = asMesh(reserved)) releaseUnusedRoom(earlier->triangles);
        return false;
    }
    return true;
}

// The triangles of a host block, into room reserved in one mesh: as many
// appendToMesh calls would, with the bounds kept at hand.
void appendBlock(MeshShape* mesh, const MeshBlock& block, int32_t triangles) {
    Box3 bounds = mesh->bounds;
    bool allFinite = mesh->allFinite;
    for (int32_t t = 0; t < triangles; ++t) {
        float at[9];
        for (int corner = 0; corner < 3; ++corner) block.position(t * 3 + corner, &at[corner * 3]);
        const TriangleCorners corners = cornersOf(at);
        const Box3 box = triangleBox(corners);
        bounds = mesh->triangles.count == 0 ? box : unite(bounds, box);
        allFinite = allFinite && isFinite(corners);
        appendReserved(mesh->triangles, corners);
    }
    mesh->bounds = bounds;
    mesh->allFinite = allFinite;
}

// For each triangle of a command, one copy to each mesh in shape-list order.
void appendToMeshes(const CollisionBody* body, const TriangleCorners& corners) {
    for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next)
        if (MeshShape* mesh = asMesh(shape)) appendToMesh(mesh, corners);
}

}  // namespace

void appendShape(CollisionBody* body, CollisionShape* shape) {
    if (!body || !shape) return;
    shape->body = body;
    listAppend(body->shapesHead, body->shapesTail, shape);
}

void addShape(CollisionBody* body, int32_t kind) {
    CollisionShape* header = nullptr;
    if (kind == kShapeEllipsoid) {
        if (EllipsoidShape* shape = makeShape<EllipsoidShape>(kind)) header = &shape->header;
    } else if (kind == kShapeMesh) {
        if (MeshShape* shape = makeShape<MeshShape>(kind)) header = &shape->header;
    }
    appendShape(body, header);
}

bool appendTriangle(MeshShape* mesh, const float corners[9]) {
    if (!reserveTriangles(mesh->triangles, 1)) return false;
    appendToMesh(mesh, cornersOf(corners));
    return true;
}

void setEllipsoidRadii(CollisionBody* body, Vec3 radii) {
    for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next)
        if (EllipsoidShape* ellipsoid = asEllipsoid(shape)) ellipsoid->radii = radii;
}

void addTriangleToMeshes(CollisionBody* body, const float corners[9]) {
    if (reserveInMeshes(body, 1)) appendToMeshes(body, cornersOf(corners));
}

bool hasShapeOfKind(const CollisionBody* body, int32_t kind) {
    for (const CollisionShape* shape = body->shapesHead; shape; shape = shape->next)
        if (shape->kind == kind) return true;
    return false;
}

void addMeshBlock(CollisionBody* body, const void* block) {
    // Without a mesh shape nothing would keep the triangles: the block is not
    // read at all, so a body of another kind costs nothing and a stale block
    // address is never touched.
    if (!block || !hasShapeOfKind(body, kShapeMesh)) return;
    const MeshBlock host = readMeshBlock(block);
    const int32_t triangles = host.vertexCount / 3;
    if (triangles <= 0 || !reserveInMeshes(body, triangles)) return;
    for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next)
        if (MeshShape* mesh = asMesh(shape)) appendBlock(mesh, host, triangles);
}

void destroyShape(CollisionShape* shape) {
    CollisionBody* body = shape->body;
    if (EllipsoidShape* ellipsoid = asEllipsoid(shape)) {
        listUnlink(body->shapesHead, body->shapesTail, shape);
        releaseCache(ellipsoid->sweepCache);
        freeRecord(ellipsoid);
    } else if (MeshShape* mesh = asMesh(shape)) {
        forgetMeshInContacts(mesh);
        freeRecord(mesh->sweepResult);
        mesh->sweepResult = nullptr;
        freeTriangleIndex(mesh->index);
        mesh->index = nullptr;
        releaseFrames(mesh->frames);
        releaseThreadFrames(*mesh);
        freeTriangleStore(mesh->triangles);
        listUnlink(body->shapesHead, body->shapesTail, shape);
        freeRecord(mesh);
    }
}

}  // namespace zep
