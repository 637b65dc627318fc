#include "world/mesh_index.h"

#include "world/object.h"

namespace zep {

void buildDueMeshTrees(CollisionBody& body, IndexVersions& versions) {
    for (CollisionShape* shape = body.shapesHead; shape; shape = shape->next) {
        MeshShape* mesh = asMesh(shape);
        if (mesh && treeDue(mesh->index, meshTriangleList(*mesh))) refreshMeshIndex(*mesh, versions);
    }
}

}  // namespace zep
