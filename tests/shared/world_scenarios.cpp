// Scenarios of the world without a pass: starting and stopping, positions
// as argument words, collision rules and the activation walk.
#include <cstdint>
#include <string>
#include <vector>

#include "shared/scenario_parts.h"

namespace zeptest {
namespace {

void startTwiceKeepsStopEmpties(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.SetCollisionZEP(1, 2, 0, 0, 0);
    z.NewCollObjZEP(4, 1);
    z.UpdateObjZEP(4, w(0.5f), w(0.25f), w(-8.0f), 0, 0, 0);
    z.ActivateObjZEP(4);
    z.StartCollisionZEP();
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(4, ZEP_SHAPE_ELLIPSOID));
    SHARED_CHECK_FLOAT(c, -8.0f, z.PeekObjZZEP(4));
    z.ResetCollisionStackZEP();  // still active
    SHARED_CHECK_EQ(c, 4, z.PeekCollisionStackZEP());
    SHARED_CHECK_EQ(c, 0, z.PeekCollisionStackZEP());

    z.StartCollisionDebugZEP();  // armed across the stop and the start
    z.StopCollisionZEP();
    z.ResetCollisionStackZEP();
    SHARED_CHECK_EQ(c, 0, z.PeekCollisionStackZEP());
    z.StartCollisionZEP();
    SHARED_CHECK_EQ(c, 0, z.PeekObjXZEP(4));
    SHARED_CHECK_EQ(c, std::string("[Object isn't defined: 4]"), joinedTexts(host));
    z.NewCollObjZEP(4, 1);  // the number can be used again; the old rule is gone
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(4, ZEP_SHAPE_ELLIPSOID));
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(4, ZEP_SHAPE_MESH));
}

// --- Positions and the argument words ------------------------------------------

void positionsRoundTripBitForBit(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.NewCollObjZEP(17, 3);
    const Word values[][3] = {
        {w(1.5f), w(-0.1f), w(1e30f)},
        {0x80000000u, 0x00000001u, 0x007FFFFFu},  // -0.0 and denormals travel unchanged
        {w(-123456.789f), w(3.4028235e38f), w(1.17549435e-38f)},
    };
    for (const auto& v : values) {
        // The three trailing words are ignored whatever they hold.
        z.UpdateObjZEP(17, v[0], v[1], v[2], 0xDEADBEEFu, 0xFFFFFFFFu, 0x7FC00000u);
        SHARED_CHECK_EQ(c, v[0], Word(z.PeekObjXZEP(17)));
        SHARED_CHECK_EQ(c, v[1], Word(z.PeekObjYZEP(17)));
        SHARED_CHECK_EQ(c, v[2], Word(z.PeekObjZZEP(17)));
    }
    SHARED_CHECK(c, host.boxes.empty());
}

// --- Rules ---------------------------------------------------------------------

void rulesAndCheckShape(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.StartCollisionDebugZEP();
    z.SetCollisionZEP(1, 2, 0xFFFFFFFFu, 0x12345678u, 0);
    z.SetCollisionZEP(301, 2, 0, 0, 0);
    z.SetCollisionZEP(1, -1, 0, 0, 0);
    z.SetCollisionZEP(300, 5, 0, 0, 0);
    z.NewCollObjZEP(10, 1);
    z.NewCollObjZEP(20, 2);
    z.NewCollObjZEP(30, 300);
    z.NewCollObjZEP(50, 5);
    z.NewCollObjZEP(60, 301);
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(10, ZEP_SHAPE_ELLIPSOID));
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(10, ZEP_SHAPE_MESH));
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(20, ZEP_SHAPE_ELLIPSOID));
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(20, ZEP_SHAPE_MESH));
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(10, 3));
    // A type no rule can name is on neither side; type 300, the last, has a
    // rule chain like every other.
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(60, ZEP_SHAPE_MESH));
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(30, ZEP_SHAPE_ELLIPSOID));
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(50, ZEP_SHAPE_MESH));
    z.SetCollisionZEP(5, 300, 0, 0, 0);
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(30, ZEP_SHAPE_MESH));
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(50, ZEP_SHAPE_ELLIPSOID));
    SHARED_CHECK(c, host.boxes.empty());  // bad types are ignored silently
}

// --- The activation walk -------------------------------------------------------

std::vector<int32_t> walk(const Commands& z) {
    std::vector<int32_t> numbers;
    z.ResetCollisionStackZEP();
    for (int i = 0; i < 10; ++i) {
        const int32_t number = z.PeekCollisionStackZEP();
        numbers.push_back(number);
        if (number == 0) break;
    }
    return numbers;
}

std::string listText(const std::vector<int32_t>& numbers) {
    std::string text;
    for (int32_t n : numbers) text += std::to_string(n) + " ";
    return text;
}

void activationWalk(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    for (int32_t n : {4, 9, 2, 7}) z.NewCollObjZEP(n, 1);
    for (int32_t n : {4, 9, 2}) z.ActivateObjZEP(n);
    SHARED_CHECK_EQ(c, 0, z.PeekCollisionStackZEP());  // no walk before a reset
    SHARED_CHECK_EQ(c, listText({4, 9, 2, 0}), listText(walk(z)));
    SHARED_CHECK_EQ(c, 0, z.PeekCollisionStackZEP());
    z.ActivateObjZEP(4);
    SHARED_CHECK_EQ(c, listText({9, 2, 4, 0}), listText(walk(z)));

    z.ResetCollisionStackZEP();
    SHARED_CHECK_EQ(c, 9, z.PeekCollisionStackZEP());
    z.DeActivateObjZEP(2);  // the entry under the cursor
    SHARED_CHECK_EQ(c, 4, z.PeekCollisionStackZEP());
    z.DeActivateObjZEP(7);  // never activated: nothing else changes
    z.StartCollisionDebugZEP();
    z.FreeObjZEP(9);  // no failure; freeing it again would be one, as for any undefined object
    SHARED_CHECK_EQ(c, listText({4, 0}), listText(walk(z)));
    SHARED_CHECK(c, host.boxes.empty());
}

}  // namespace

std::vector<Scenario> worldScenarios() {
    return {
        {"StartTwiceKeepsStopEmpties", false, startTwiceKeepsStopEmpties},
        {"PositionsRoundTripBitForBit", false, positionsRoundTripBitForBit},
        {"RulesAndCheckShape", false, rulesAndCheckShape},
        {"ActivationWalk", false, activationWalk},
    };
}

}  // namespace zeptest
