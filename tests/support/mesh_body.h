// A body holding one mesh shape, made straight in the world without the
// commands: what the sweep and index tests below the command layer work on.
#pragma once

#include <gtest/gtest.h>

#include "api/state.h"
#include "base/vec3.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/world.h"

namespace zeptest {

class MeshBody {
public:
    explicit MeshBody(int number = 1) : body(zep::createBody(zep::world(), number)) {
        if (body) zep::addShape(body, zep::kShapeMesh);
        mesh = body ? zep::asMesh(body->shapesHead) : nullptr;
        EXPECT_NE(mesh, nullptr) << "no memory for the mesh body";
    }
    ~MeshBody() { zep::destroyBody(zep::world(), body); }
    MeshBody(const MeshBody&) = delete;
    MeshBody& operator=(const MeshBody&) = delete;

    void add(zep::Vec3 a, zep::Vec3 b, zep::Vec3 c) {
        const float corners[9] = {a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z};
        ASSERT_TRUE(zep::appendTriangle(mesh, corners));
    }

    zep::CollisionBody* body;
    zep::MeshShape* mesh;
};

}  // namespace zeptest
