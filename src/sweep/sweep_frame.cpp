#include "sweep/sweep_frame.h"

#include <cmath>

#include "base/same_bits.h"

namespace zep {

namespace {

SweepFrame frameAt(Vec3 M, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius) {
    SweepFrame frame;
    frame.S = DivideComponents(Subtract(start, M), radii);
    frame.E = DivideComponents(Subtract(end, M), radii);
    const Vec3 move = Subtract(frame.E, frame.S);
    frame.sweepLength = float(std::sqrt(squaredLengthXYZ(move)));
    frame.dir = normalized(move);
    frame.sphereRadius = sphereRadius;
    return frame;
}

bool asksSameFrame(const FrameMemo& memo, Vec3 M, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius) {
    return memo.valid && sameBits(memo.M, M) && sameBits(memo.start, start) && sameBits(memo.end, end) &&
           sameBits(memo.radii, radii) && sameBits(memo.sphereRadius, sphereRadius);
}

}  // namespace

const SweepFrame& sweepFrameFor(FrameMemo& memo, Vec3 M, Vec3 start, Vec3 end, Vec3 radii, float sphereRadius) {
    if (!asksSameFrame(memo, M, start, end, radii, sphereRadius))
        memo = FrameMemo{M, start, end, radii, sphereRadius, true, frameAt(M, start, end, radii, sphereRadius)};
    return memo.frame;
}

}  // namespace zep
