#include "world/shapes.h"

#include <cmath>
#include <cstring>

#include "base/allocation.h"
#include "base/intrusive_list.h"
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

void freeTriangles(MeshShape* mesh) {
    MeshTriangle* triangle = mesh->trianglesHead;
    while (triangle) {
        MeshTriangle* next = triangle->next;
        freeRecord(triangle);
        triangle = next;
    }
    mesh->trianglesHead = mesh->trianglesTail = nullptr;
    mesh->triangleCount = 0;
}

MeshTriangle* makeTriangle(const float corners[9]) {
    MeshTriangle* triangle = makeRecord<MeshTriangle>();
    if (!triangle) return nullptr;
    triangle->corners.corner1 = Vec3{corners[0], corners[1], corners[2]};
    triangle->corners.corner2 = Vec3{corners[3], corners[4], corners[5]};
    triangle->corners.corner3 = Vec3{corners[6], corners[7], corners[8]};
    return triangle;
}

void linkTriangle(MeshShape* mesh, MeshTriangle* triangle) {
    listAppend<&MeshTriangle::prev, &MeshTriangle::next>(mesh->trianglesHead, mesh->trianglesTail,
                                                         triangle);
    const Box3 box = triangleBox(triangle->corners);
    mesh->bounds = mesh->triangleCount == 0 ? box : unite(mesh->bounds, box);
    mesh->allFinite = mesh->allFinite && isFinite(triangle->corners);
    ++mesh->triangleCount;
}

// Triangles made before any is linked, one per mesh of the body for every
// triangle of a command. If memory runs out part way, the command frees them
// all and every mesh stays as it was; otherwise all meshes get all triangles,
// so their numbering never drifts apart.
class PendingTriangles {
public:
    ~PendingTriangles() {
        while (MeshTriangle* triangle = head_) {
            head_ = triangle->next;
            freeRecord(triangle);
        }
    }

    bool makeForMeshes(const CollisionBody* body, const float corners[9]) {
        for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next) {
            if (!asMesh(shape)) continue;
            MeshTriangle* triangle = makeTriangle(corners);
            if (!triangle) return false;
            listAppend<&MeshTriangle::prev, &MeshTriangle::next>(head_, tail_, triangle);
        }
        return true;
    }

    // Hands the triangles out in the order they were made: for each triangle
    // of the command, one to each mesh in shape-list order.
    void linkInto(CollisionBody* body) {
        while (head_) {
            for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next) {
                MeshShape* mesh = asMesh(shape);
                if (!mesh) continue;
                MeshTriangle* triangle = head_;
                listUnlink<&MeshTriangle::prev, &MeshTriangle::next>(head_, tail_, triangle);
                linkTriangle(mesh, triangle);
            }
        }
    }

private:
    MeshTriangle* head_ = nullptr;
    MeshTriangle* tail_ = nullptr;
};

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
    MeshTriangle* triangle = makeTriangle(corners);
    if (!triangle) return false;
    linkTriangle(mesh, triangle);
    return true;
}

void setEllipsoidRadii(CollisionBody* body, Vec3 radii) {
    for (CollisionShape* shape = body->shapesHead; shape; shape = shape->next)
        if (EllipsoidShape* ellipsoid = asEllipsoid(shape)) ellipsoid->radii = radii;
}

void addTriangleToMeshes(CollisionBody* body, const float corners[9]) {
    PendingTriangles pending;
    if (pending.makeForMeshes(body, corners)) pending.linkInto(body);
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
    const MeshBlock mesh = readMeshBlock(block);
    const int32_t triangles = mesh.vertexCount / 3;
    PendingTriangles pending;
    for (int32_t t = 0; t < triangles; ++t) {
        float corners[9];
        for (int corner = 0; corner < 3; ++corner) mesh.position(t * 3 + corner, &corners[corner * 3]);
        if (!pending.makeForMeshes(body, corners)) return;
    }
    pending.linkInto(body);
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
        freeTriangles(mesh);
        listUnlink(body->shapesHead, body->shapesTail, shape);
        freeRecord(mesh);
    }
}

}  // namespace zep
