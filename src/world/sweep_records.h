// What the sweeps leave on the shapes between calls: on a mesh, the nearest
// hit of its latest sweep; on an ellipsoid, its sweep cache. Plain records:
// the sweep fills them in, the shape owns and frees them.
#pragma once

#include <cstdint>

#include "base/box3.h"
#include "base/vec3.h"

namespace zep {

struct TriangleCorners;

enum HitKind : int32_t {
    kHitFace = 1,
    kHitEdge = 2,
    kHitVertex = 3,
};

// The nearest hit of one sweep of an ellipsoid against one mesh shape.
//
// Positions and vectors are in the sweep's ellipsoid space (relative to the
// mesh body, divided by the radii) except `triangle` and `radii`, which are in
// world units. Each accepted hit overwrites the common fields at once; fields a
// hit kind does not write keep what an earlier hit left, so readers look at
// edgeStart/edgeEnd only for edge hits and at vertex only for vertex hits.
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

// Where the centre is at the hit in world units, for a mesh body at
// `meshPosition`: the centre the contact made of the hit holds.
inline Vec3 hitCentreInWorld(const SweepResult& hit, Vec3 meshPosition) {
    return Add(MultiplyComponents(hit.centerAtContact, hit.radii), meshPosition);
}

// A triangle's corners and normal in ellipsoid space for one set of radii,
// filled in by the first sweep that tests it. A small mesh keeps one per
// triangle for the radii of its latest sweep (the meshes of a body usually
// hold the same few triangles, each swept by every ellipsoid that comes
// near); an ellipsoid's cache keeps one per triangle it holds.
struct FramedTriangle {
    bool framed = false;  // A, B, C and N are filled in
    Vec3 A;
    Vec3 B;
    Vec3 C;
    Vec3 N;
};

// The triangles around an ellipsoid's path in a large mesh, gathered with
// room to spare, with their corners and normal in ellipsoid space for its
// radii (see sweep/sweep_cache.h for how a sweep uses them).
// Four cached triangles' boxes, per axis their low and their high faces
// side by side: the layout SweptBox::entries reads.
constexpr int32_t kCachedBoxLanes = 4;
struct CachedBoxes {
    float lo[3][kCachedBoxLanes];
    float hi[3][kCachedBoxLanes];
};

struct CachedTriangle {
    int32_t place = 0;  // in the mesh's list, 0-based
    const TriangleCorners* stored = nullptr;
    FramedTriangle frame;  // for the cache's radii
};

struct SweepCache {
    uint64_t indexVersion = 0;  // the index state the list came from; 0: none
    Vec3 radii;                 // the frames are for these radii
    Box3 covered;               // the box the list was gathered with
    CachedTriangle* entries = nullptr;  // ascending places; work memory
    int32_t count = 0;
    int32_t capacity = 0;
    // The entries' boxes (mesh frame, as the index holds them), four to a
    // block in entry order, so that the reach meets four at once; the last
    // block's unused lanes repeat its last box. Work memory.
    CachedBoxes* boxes = nullptr;
    int32_t boxCapacity = 0;  // in blocks
    // Where an empty cache's ellipsoid last swept, and in which pass: a list
    // is gathered only for an ellipsoid that stays around a place.
    Box3 wanted;
    uint64_t wantedInPass = 0;  // 0: nothing wanted
};

// Frees the list; the cache is empty afterwards.
void releaseCache(SweepCache& cache);

struct MeshFrames {
    Vec3 radii;                        // the frames are for these radii
    FramedTriangle* entries = nullptr;  // by list place; work memory
    int32_t capacity = 0;
};

// Frees the entries; the frames are empty afterwards.
void releaseFrames(MeshFrames& frames);
// Frees every thread slot's frames of a mesh, and their array.
struct MeshShape;
void releaseThreadFrames(MeshShape& mesh);

}  // namespace zep
