#include "sweep/sweep_work.h"

#include "world/mesh_index.h"
#include "world/shapes.h"

namespace zep {

void releaseSweepWork(SweepWork& work) {
    releaseScratch(work.scratch);
    work.frame = FrameMemo{};
    work.reach = ReachMemo{};
    work.reached = ReachedMemo{};
}

bool meshIndexReady(SweepWork& work, MeshShape& mesh) {
    if (!work.sharedMeshes) return refreshMeshIndex(mesh, work.indexVersions);
    const TriangleIndex* index = mesh.index;
    return index && !index->failed && index->listed == mesh.triangles.count;
}

MeshFrames* slotFrames(const SweepWork& work, MeshShape& mesh) {
    if (work.threadSlot == 0) return &mesh.frames;
    return mesh.threadFrames ? &mesh.threadFrames[work.threadSlot - 1] : nullptr;
}

}  // namespace zep
