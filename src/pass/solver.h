// Collide and slide: moves one ellipsoid through one mesh, appending a contact
// to the mover's list for every hit.
#pragma once

#include <cstdint>

namespace zep {

struct EllipsoidShape;
struct MeshShape;

void solveEllipsoidAgainstMesh(EllipsoidShape* ellipsoid, MeshShape* mesh);

namespace testing {
// The most contacts one solver call has appended (its loop's iterations)
// since the last reset. Every iteration meets a triangle the call's earlier
// ones did not, so this never exceeds the mesh's triangle count; the fuzzer
// and the robustness tests watch it.
int64_t largestSolverCall();
void resetSolverWork();
}  // namespace testing

}  // namespace zep
