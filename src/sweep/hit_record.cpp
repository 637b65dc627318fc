#include "sweep/hit_record.h"

namespace zep {

void storeHitHeader(SweepResult& result, float sphereRadius, int32_t triangleNumber, double travel,
                    float sweepLength, int32_t kind) {
    result.sphereRadius = sphereRadius;
    result.found = true;
    result.hitTime = float(travel / double(sweepLength));
    result.triangleNumber = triangleNumber;
    result.nearestDistance = float(travel);
    result.hitKind = kind;
}

void storeMovementAndCorners(SweepResult& result, const TriangleCorners& triangle, Vec3 start) {
    result.moveToContact = Subtract(result.centerAtContact, start);
    result.slideVector = Subtract(result.slideDestination, result.centerAtContact);
    result.triangle[0] = triangle.corner1;
    result.triangle[1] = triangle.corner2;
    result.triangle[2] = triangle.corner3;
}

}  // namespace zep
