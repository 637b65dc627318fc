#include "sweep/sweep_work.h"

namespace zep {

void releaseSweepWork(SweepWork& work) {
    releaseScratch(work.scratch);
    work.frame = FrameMemo{};
    work.reach = ReachMemo{};
    work.reached = ReachedMemo{};
}

}  // namespace zep
