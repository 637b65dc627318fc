// Small builders for scenes driven through the exported commands.
#pragma once

#include <array>
#include <initializer_list>

#include "support/world_view.h"
#include "world/contact.h"
#include "zepcollide.h"

namespace zeptest {

using Triangle = std::array<float, 9>;

// An active mesh object of the given type at position, holding the triangles.
inline void makeMeshObject(int number, int type, std::initializer_list<Triangle> triangles,
                           zep::Vec3 position = {}) {
    NewCollObjZEP(number, type);
    AddObjShapeZEP(number, ZEP_SHAPE_MESH);
    for (const Triangle& t : triangles) AddMeshTri(number, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8]);
    UpdateObjZEP(number, position.x, position.y, position.z, 0, 0, 0);
    ActivateObjZEP(number);
}

// An active ellipsoid object with the given radii, placed at from.
inline void makeMover(int number, int type, zep::Vec3 radii, zep::Vec3 from) {
    NewCollObjZEP(number, type);
    AddObjShapeZEP(number, ZEP_SHAPE_ELLIPSOID);
    SetObjRadiusZEP(number, radii.x, radii.y, radii.z);
    UpdateObjZEP(number, from.x, from.y, from.z, 0, 0, 0);
    ActivateObjZEP(number);
}

inline void moveTo(int number, zep::Vec3 to) { UpdateObjZEP(number, to.x, to.y, to.z, 0, 0, 0); }

inline zep::Vec3 positionOf(int number) {
    return {zepFloat(PeekObjXZEP(number)), zepFloat(PeekObjYZEP(number)), zepFloat(PeekObjZZEP(number))};
}

inline const zep::Contact& contactOf(int number, int index) {
    return *zep::contactAt(bodyOf(number), uint32_t(index));
}

}  // namespace zeptest

#define EXPECT_VEC3_EQ(expected, actual)                                  \
    do {                                                                  \
        const zep::Vec3 e_ = (expected), a_ = (actual);                   \
        EXPECT_EQ(::zeptest::bitsOf(e_.x), ::zeptest::bitsOf(a_.x)) << "x"; \
        EXPECT_EQ(::zeptest::bitsOf(e_.y), ::zeptest::bitsOf(a_.y)) << "y"; \
        EXPECT_EQ(::zeptest::bitsOf(e_.z), ::zeptest::bitsOf(a_.z)) << "z"; \
    } while (0)

#define EXPECT_VEC3_NEAR(expected, actual, tolerance)  \
    do {                                               \
        const zep::Vec3 e_ = (expected), a_ = (actual); \
        EXPECT_NEAR(e_.x, a_.x, tolerance) << "x";     \
        EXPECT_NEAR(e_.y, a_.y, tolerance) << "y";     \
        EXPECT_NEAR(e_.z, a_.z, tolerance) << "z";     \
    } while (0)
