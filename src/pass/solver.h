// Collide and slide: moves one ellipsoid through one mesh, appending a contact
// to the mover's list for every hit.
#pragma once

namespace zep {

struct EllipsoidShape;
struct MeshShape;

void solveEllipsoidAgainstMesh(EllipsoidShape* ellipsoid, MeshShape* mesh);

}  // namespace zep
