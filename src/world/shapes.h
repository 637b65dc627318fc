// Shapes: ellipsoids (what moves) and triangle meshes (what is met).
//
// Both kinds begin with the same header; code reads `kind` and reaches the
// concrete record through `self`. There is no other dispatch.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "base/triangle_store.h"
#include "base/vec3.h"
#include "world/sweep_records.h"

namespace zep {

struct CollisionBody;
struct Contact;
struct TriangleIndex;

enum ShapeKind : int32_t {
    kShapeEllipsoid = 1,
    kShapeMesh = 2,
};

struct CollisionShape {
    void* self = nullptr;  // the EllipsoidShape or MeshShape this header begins
    int32_t kind = 0;
    CollisionBody* body = nullptr;
    CollisionShape* prev = nullptr;
    CollisionShape* next = nullptr;
};

struct EllipsoidShape {
    CollisionShape header;
    Vec3 radii{1.0f, 1.0f, 1.0f};  // semi-axes along x, y, z, world units
    SweepCache sweepCache;  // the triangles around its path in a large mesh; owned
};

struct MeshShape {
    CollisionShape header;
    TriangleStore triangles;  // owned; a triangle's number is its 1-based place
    SweepResult* sweepResult = nullptr;  // latest sweep, owned
    // Contacts that name this mesh. They are owned by other bodies; when the
    // mesh goes, each is told so that none keeps a dangling reference.
    Contact* referrersHead = nullptr;
    Contact* referrersTail = nullptr;
    int32_t referrerCount = 0;
    // The bounds of all its triangles (mesh frame), kept as they arrive, so
    // that a pass can tell what is near a mover without indexing the mesh.
    Box3 bounds{};
    bool allFinite = true;  // every corner is finite
    // Spatial index over the triangles, made by the first sweep that needs it
    // and kept up to date as triangles arrive; owned.
    TriangleIndex* index = nullptr;
    // allocationsRefused() just after the index last failed for want of
    // memory; 0 if it never has.
    uint64_t indexRefusedAt = 0;
    // Its triangles in ellipsoid space, kept by the sweeps of a mesh too
    // small for a tree; owned. `frames` is the host thread's; a pass split
    // over threads gives each other thread slot its own (kMostThreads - 1 of
    // them, made before the split; null until then or without memory).
    MeshFrames frames;
    MeshFrames* threadFrames = nullptr;
};

inline EllipsoidShape* asEllipsoid(CollisionShape* shape) {
    return shape && shape->kind == kShapeEllipsoid ? static_cast<EllipsoidShape*>(shape->self)
                                                   : nullptr;
}
inline MeshShape* asMesh(CollisionShape* shape) {
    return shape && shape->kind == kShapeMesh ? static_cast<MeshShape*>(shape->self) : nullptr;
}

// Makes a shape of the kind and appends it to the body; other kinds, and a
// failed allocation, do nothing.
void addShape(CollisionBody* body, int32_t kind);
void appendShape(CollisionBody* body, CollisionShape* shape);
// Appends one triangle; returns false (and changes nothing) if memory runs out.
bool appendTriangle(MeshShape* mesh, const float corners[9]);
// Sets the radii of every ellipsoid of the body.
void setEllipsoidRadii(CollisionBody* body, Vec3 radii);
// Gives every mesh shape of the body its own copy of the triangle.
void addTriangleToMeshes(CollisionBody* body, const float corners[9]);
bool hasShapeOfKind(const CollisionBody* body, int32_t kind);
// Reads a host mesh memory block and adds its triangles to every mesh; a
// body without a mesh shape does not read it.
void addMeshBlock(CollisionBody* body, const void* block);
void destroyShape(CollisionShape* shape);

}  // namespace zep
