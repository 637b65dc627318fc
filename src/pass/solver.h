// Collide and slide: moves one ellipsoid of a mover through all the meshes
// its pairs name, as one chain. Each step sweeps every mesh in reach and
// takes the nearest hit of all; the mover's list gains a contact per step.
#pragma once

#include <cstdint>

namespace zep {

struct EllipsoidShape;
struct MeshShape;
struct PartnerTable;
struct PassWork;

// Which meshes the chain's steps sweep. With a partner table only what each
// step can reach; without one, the plain path, every pair. A chain through
// one mesh alone serves the tests that compare with one chain per pair.
struct ChainMeshes {
    const PartnerTable* table = nullptr;
    MeshShape* onlyMesh = nullptr;
};

void solveEllipsoid(PassWork& work, EllipsoidShape* ellipsoid, const ChainMeshes& chain);

namespace testing {
// The most contacts one solver call has appended (its loop's iterations)
// since the last reset. Every iteration meets a triangle the call's earlier
// ones did not, so this never exceeds the mesh's triangle count; the fuzzer
// and the robustness tests watch it.
int64_t largestSolverCall();
void resetSolverWork();
// One chain per (ellipsoid, mesh) pair, in pair order, instead of one per
// ellipsoid: the same results wherever an ellipsoid meets a single mesh.
extern bool chainPerMesh;
}  // namespace testing

}  // namespace zep
