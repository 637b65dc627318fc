// Small builders for scenes driven through the exported commands.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "support/checks.h"
#include "support/world_view.h"
#include "world/contact.h"
#include "zepcollide.h"

namespace zeptest {

using Triangle = std::array<float, 9>;

// The worked examples' trough: a floor facing up, a ramp rising from it and a
// wall across, each facing the mover dropped at the origin.
constexpr Triangle kFloor{-30, 0, -30, -30, 0, 90, 90, 0, -30};
constexpr Triangle kRamp{-14, -12, -30, -14, -12, 90, 50, 36, -30};
constexpr Triangle kWall{-30, -30, 3.5f, -30, 90, 3.5f, 90, -30, 3.5f};

// A fresh world, started, in which type-1 ellipsoids meet type-2 meshes: the
// rule almost every pass test needs.
inline void startMoversOnMeshes() {
    StopCollisionZEP();
    StartCollisionZEP();
    SetCollisionZEP(1, 2, 0, 0, 0);
}

// The same triangle wound the other way: it faces the opposite side.
constexpr Triangle flipped(const Triangle& t) { return {t[0], t[1], t[2], t[6], t[7], t[8], t[3], t[4], t[5]}; }

// The triangle moved by `by` along every axis.
inline Triangle shifted(Triangle t, float by) {
    for (float& coordinate : t) coordinate += by;
    return t;
}

inline void addTriangle(int object, const Triangle& t) {
    AddMeshTri(object, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8]);
}

// An active mesh object of the given type at position, holding the triangles.
inline void makeMeshObject(int number, int type, const std::vector<Triangle>& triangles, zep::Vec3 position = {}) {
    NewCollObjZEP(number, type);
    AddObjShapeZEP(number, ZEP_SHAPE_MESH);
    for (const Triangle& t : triangles) addTriangle(number, t);
    UpdateObjZEP(number, position.x, position.y, position.z, 0, 0, 0);
    ActivateObjZEP(number);
}

// A strip of flat triangles facing up, triangle i spanning x from i to i + 1
// and z from 0 to 1: enough of them for the mesh index to build its tree.
inline std::vector<Triangle> strip(int count) {
    std::vector<Triangle> triangles;
    for (int i = 0; i < count; ++i) triangles.push_back({float(i), 0, 0, float(i), 0, 1, float(i) + 1, 0, 0});
    return triangles;
}

// An active ellipsoid object with the given radii, placed at from.
inline void makeMover(int number, int type, zep::Vec3 radii, zep::Vec3 from) {
    NewCollObjZEP(number, type);
    AddObjShapeZEP(number, ZEP_SHAPE_ELLIPSOID);
    SetObjRadiusZEP(number, radii.x, radii.y, radii.z);
    UpdateObjZEP(number, from.x, from.y, from.z, 0, 0, 0);
    ActivateObjZEP(number);
}

// Adds the quad p0..p3 to an object's mesh as two triangles facing `outward`.
inline void addQuad(int object, zep::Vec3 p0, zep::Vec3 p1, zep::Vec3 p2, zep::Vec3 p3, zep::Vec3 outward) {
    if (zep::Dot(zep::Cross(zep::Subtract(p1, p0), zep::Subtract(p2, p0)), outward) < 0) std::swap(p1, p3);
    AddMeshTri(object, p0.x, p0.y, p0.z, p1.x, p1.y, p1.z, p2.x, p2.y, p2.z);
    AddMeshTri(object, p0.x, p0.y, p0.z, p2.x, p2.y, p2.z, p3.x, p3.y, p3.z);
}

inline void moveTo(int number, zep::Vec3 to) { UpdateObjZEP(number, to.x, to.y, to.z, 0, 0, 0); }

inline zep::Vec3 positionOf(int number) {
    return {zepFloat(PeekObjXZEP(number)), zepFloat(PeekObjYZEP(number)), zepFloat(PeekObjZZEP(number))};
}

// What a host reads of an object after a pass, as words: its position, its
// contact count and each contact's point and normal.
inline void appendHostView(std::vector<uint32_t>& out, int number) {
    for (int32_t (*peek)(int32_t) : {PeekObjXZEP, PeekObjYZEP, PeekObjZZEP}) out.push_back(uint32_t(peek(number)));
    const int32_t count = CountCollisionsZEP(number);
    out.push_back(uint32_t(count));
    for (int32_t i = 1; i <= count; ++i)
        for (int32_t axis = 1; axis <= 3; ++axis)
            out.insert(out.end(), {uint32_t(CollisionHit(number, i, axis)), uint32_t(CollisionHitNorm(number, i, axis))});
}

inline const zep::Contact& contactOf(int number, int index) {
    return *zep::contactAt(bodyOf(number), uint32_t(index));
}

}  // namespace zeptest
