#include "pass/solver.h"

namespace zep {

// Filled in with the narrow phase.
void solveEllipsoidAgainstMesh(EllipsoidShape*, MeshShape*) {}

}  // namespace zep
