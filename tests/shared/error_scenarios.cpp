// Scenarios of the error box and the object check: its one-shot arming,
// its texts and captions, and the numbers it accepts and shows.
#include <cstdint>
#include <string>
#include <vector>

#include "shared/scenario_parts.h"

namespace zeptest {
namespace {

void errorBoxOneShotAndTexts(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionDebugZEP();  // armed before the start: still counts
    z.StopCollisionZEP();        // stopping what never started: nothing happens
    SHARED_CHECK_EQ(c, 0, z.PeekObjXZEP(9999));
    z.FreeObjZEP(3);  // the one box is used up
    SHARED_CHECK_EQ(c, std::string("[Collision object error, system not started1]"),
                    joinedTexts(host));
    host.boxes.clear();

    z.StartCollisionDebugZEP();
    z.SetCollisionZEP(1, 2, 0, 0, 0);
    z.StartCollisionDebugZEP();
    z.NewCollObjZEP(1, 1);
    SHARED_CHECK_EQ(c,
                    std::string("[Cannot Set Collision Type, System Not Started1]"
                                "[Cannot create collision object, system not started1]"),
                    joinedTexts(host));
    host.boxes.clear();

    z.StartCollisionZEP();
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(1, 1));  // neither the rule nor the object was made
    z.StartCollisionDebugZEP();
    z.FreeObjZEP(7);
    z.FreeObjZEP(8);
    z.StartCollisionDebugZEP();
    z.ActivateObjZEP(5001);  // the range check before the definition check
    z.StartCollisionDebugZEP();
    z.ActivateObjZEP(12);
    z.StartCollisionDebugZEP();
    z.NewCollObjZEP(5001, 1);
    z.NewCollObjZEP(3, 1);
    z.AddObjShapeZEP(3, ZEP_SHAPE_ELLIPSOID);
    z.StartCollisionDebugZEP();
    z.SetObjRadiusZEP(3, w(1.0f), w(0.0f), w(1.0f));
    z.StartCollisionDebugZEP();
    SHARED_CHECK_EQ(c, 0, z.CollisionHit(3, 1, 1));
    z.StartCollisionDebugZEP();
    SHARED_CHECK_EQ(c, 0, z.CollisionTriCorner(3, 1, 4, 1));
    z.StartCollisionDebugZEP();
    SHARED_CHECK_EQ(c, 0, z.CollisionPolyHit(3, 0));
    SHARED_CHECK_EQ(c,
                    std::string("[Object isn't defined: 7]"
                                "[Object number too high for collision system: 5001]"
                                "[Object isn't defined: 12]"
                                "[Object number too high for collision system: 5001]"
                                "[Ellip radius values must be positive for object: 3]"
                                "[Collision index out of range: 1]"
                                "[Corner out of range: 4]"
                                "[Collision index out of range: 0]"),
                    joinedTexts(host));
    for (const Box& box : host.boxes) SHARED_CHECK_EQ(c, std::string("Collision Error"), box.caption);
}

void failedCommandsReturnZero(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    SHARED_CHECK_EQ(c, 0, z.PeekObjXZEP(12));
    SHARED_CHECK_EQ(c, 0, z.PeekObjYZEP(-5));
    SHARED_CHECK_EQ(c, 0, z.PeekObjZZEP(70000));
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(12, 1));
    SHARED_CHECK_EQ(c, 0, z.CountCollisionsZEP(12));
    SHARED_CHECK_EQ(c, 0, z.CollisionHitNorm(12, 1, 1));
    SHARED_CHECK_EQ(c, 0, z.CollisionObjHit(12, 1));
    z.FreeObjZEP(12);
    SHARED_CHECK(c, host.boxes.empty());  // nothing is shown without debug mode
}

void objectNumberBounds(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.StartCollisionDebugZEP();
    z.NewCollObjZEP(0, 1);
    z.NewCollObjZEP(5000, 1);
    SHARED_CHECK(c, host.boxes.empty());
    z.UpdateObjZEP(5000, w(1.0f), w(2.0f), w(3.0f), 0, 0, 0);
    z.UpdateObjZEP(0, w(-4.0f), w(5.0f), w(-6.0f), 0, 0, 0);
    SHARED_CHECK_FLOAT(c, 2.0f, z.PeekObjYZEP(5000));
    SHARED_CHECK_FLOAT(c, -6.0f, z.PeekObjZZEP(0));
    z.NewCollObjZEP(5001, 1);
    SHARED_CHECK_EQ(c, std::string("[Object number too high for collision system: 5001]"),
                    joinedTexts(host));
}

// The box shows the number exactly as the host passed it, as a signed
// 32-bit value: -1 shows as -1, and nothing is rounded.
void numbersShowAsPassed(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    for (bool update : {false, true})
        for (int32_t number : {5001, -1, 16777217, INT32_MIN}) {
            z.StartCollisionDebugZEP();
            if (update) z.UpdateObjZEP(number, 0, 0, 0, 0, 0, 0);
            else z.FreeObjZEP(number);
        }
    const std::string texts = "[Object number too high for collision system: 5001]"
                              "[Object number too high for collision system: -1]"
                              "[Object number too high for collision system: 16777217]"
                              "[Object number too high for collision system: -2147483648]";
    SHARED_CHECK_EQ(c, texts + texts, joinedTexts(host));
}

}  // namespace

std::vector<Scenario> errorScenarios() {
    return {
        {"ErrorBoxOneShotAndTexts", false, errorBoxOneShotAndTexts},
        {"FailedCommandsReturnZero", false, failedCommandsReturnZero},
        {"ObjectNumberBounds", false, objectNumberBounds},
        {"NumbersShowAsPassed", false, numbersShowAsPassed},
    };
}

}  // namespace zeptest
