// Read-only views of the world's internals for tests: list orders and shape
// contents that no command exposes.
#pragma once

#include <vector>

#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
#include "world/activation.h"
#include "world/object.h"
#include "world/shapes.h"
#include "zepcollide.h"

namespace zeptest {

inline zep::CollisionBody* bodyOf(int number) {
    zep::CollisionObject* object = zep::objectAt(zep::world(), number);
    return object ? object->body : nullptr;
}

inline std::vector<int> bodyOrder() {
    std::vector<int> numbers;
    for (auto* body = zep::world().bodyListHead; body; body = body->next) numbers.push_back(body->objectNumber);
    return numbers;
}

inline std::vector<int> shapeKinds(int number) {
    std::vector<int> kinds;
    for (auto* shape = bodyOf(number)->shapesHead; shape; shape = shape->next) kinds.push_back(shape->kind);
    return kinds;
}

// The n-th shape (0-based) of the object, as a mesh or an ellipsoid.
inline zep::CollisionShape* shapeAt(int number, int place) {
    auto* shape = bodyOf(number)->shapesHead;
    while (shape && place-- > 0) shape = shape->next;
    return shape;
}

inline std::vector<float> triangleFloats(const zep::MeshShape* mesh) {
    std::vector<float> floats;
    for (const zep::TriangleCorners& t : mesh->triangles)
        for (const zep::Vec3& c : {t.corner1, t.corner2, t.corner3})
            floats.insert(floats.end(), {c.x, c.y, c.z});
    return floats;
}

// Walks the collision stack from a reset to its end.
inline std::vector<int> stackWalk() {
    std::vector<int> numbers;
    ResetCollisionStackZEP();
    while (zep::world().stackCursor) numbers.push_back(PeekCollisionStackZEP());
    return numbers;
}

}  // namespace zeptest
