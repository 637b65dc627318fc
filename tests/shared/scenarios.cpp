#include "shared/scenarios.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace zepshared {

const char* const kCommandNames[kCommandCount] = {
    "StartCollisionZEP",      "StartCollisionDebugZEP", "StopCollisionZEP",
    "SetCollisionZEP",        "NewCollObjZEP",          "CheckShapeZEP",
    "AddObjShapeZEP",         "ActivateObjZEP",         "DeActivateObjZEP",
    "SetObjRadiusZEP",        "AddMeshTri",             "AddMeshZEP",
    "UpdateObjZEP",           "ResetCollisionStackZEP", "PeekCollisionStackZEP",
    "RunCollisionZEP",        "PeekObjXZEP",            "PeekObjYZEP",
    "PeekObjZZEP",            "FreeObjZEP",             "CountCollisionsZEP",
    "CollisionHit",           "CollisionHitNorm",       "CollisionObjHit",
    "CollisionPolyHit",       "CollisionTriCorner",
};

void setCommand(Commands& commands, int ordinal, void (*address)()) {
    if (ordinal < 1 || ordinal > kCommandCount) return;
    // The fields are kCommandCount function pointers of one size, in ordinal
    // order (checked by the static_assert in the header).
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&commands);
    std::memcpy(bytes + size_t(ordinal - 1) * sizeof address, &address, sizeof address);
}

void Checks::check(bool ok, const char* file, int line, const std::string& what) {
    if (ok) {
        ++passed_;
        return;
    }
    const char* base = std::strrchr(file, '/');
    failures_.push_back(std::string(base ? base + 1 : file) + ":" + std::to_string(line) + ": " +
                        what);
}

std::string describeWord(Word word) {
    char text[48];
    std::snprintf(text, sizeof text, "0x%08" PRIx32 " (%.9g)", word, double(floatOf(word)));
    return text;
}

Word wordOf(float value) {
    Word word;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

float floatOf(Word word) {
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

std::string digestLine(uint64_t digest) {
    char text[64];
    std::snprintf(text, sizeof text, "zepcollide scenario digest: %016" PRIx64, digest);
    return text;
}

void resetWorld(Host& host) {
    host.cmd.StopCollisionZEP();
    // Arming and then failing leaves no message armed, whatever came before:
    // -1 fails the object check whether or not the system is started.
    host.cmd.StartCollisionDebugZEP();
    host.cmd.FreeObjZEP(-1);
    host.boxes.clear();
}

namespace {

Word w(float value) { return wordOf(value); }

std::vector<std::string> texts(const Host& host) {
    std::vector<std::string> result;
    for (const Box& box : host.boxes) result.push_back(box.text);
    return result;
}

// The box texts so far, joined, for one comparison with a readable failure.
std::string joinedTexts(const Host& host) {
    std::string joined;
    for (const std::string& text : texts(host)) joined += "[" + text + "]";
    return joined;
}

void checkCaptions(Host& host, Checks& checks) {
    for (const Box& box : host.boxes) SHARED_CHECK_EQ(checks, std::string("Collision Error"), box.caption);
}

// --- Error box and the object check -----------------------------------------

void errorBoxOneShotAndTexts(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionDebugZEP();  // armed before the start: still counts
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
    z.StartCollisionDebugZEP();
    z.FreeObjZEP(7);
    z.FreeObjZEP(8);
    z.StartCollisionDebugZEP();
    z.ActivateObjZEP(5001);
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
                                "[Object number too high for collision system: 5001]"
                                "[Ellip radius values must be positive for object: 3]"
                                "[Collision index out of range: 1]"
                                "[Corner out of range: 4]"
                                "[Collision index out of range: 0]"),
                    joinedTexts(host));
    checkCaptions(host, c);
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

// --- Lifecycle ---------------------------------------------------------------

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

    z.StopCollisionZEP();
    z.ResetCollisionStackZEP();
    SHARED_CHECK_EQ(c, 0, z.PeekCollisionStackZEP());
    z.StartCollisionDebugZEP();
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
    // A type no rule can name is on neither side.
    SHARED_CHECK_EQ(c, 0, z.CheckShapeZEP(60, ZEP_SHAPE_MESH));
    z.SetCollisionZEP(5, 300, 0, 0, 0);
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(30, ZEP_SHAPE_MESH));
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(50, ZEP_SHAPE_ELLIPSOID));
    SHARED_CHECK(c, host.boxes.empty());  // bad types are ignored silently
}

// Type 300 has a rule chain like every other type, and the shape check finds it.
void shapeCheckFindsRulesOfType300(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.SetCollisionZEP(300, 5, 0, 0, 0);
    z.NewCollObjZEP(30, 300);
    z.NewCollObjZEP(50, 5);
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(30, ZEP_SHAPE_ELLIPSOID));
    SHARED_CHECK_EQ(c, 1, z.CheckShapeZEP(50, ZEP_SHAPE_MESH));
}

// The box shows the number exactly as the host passed it, as a signed
// 32-bit value: -1 shows as -1, and nothing is rounded.
void numbersShowAsPassed(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    for (int32_t number : {5001, -1, 16777217, INT32_MIN}) {
        z.StartCollisionDebugZEP();
        z.FreeObjZEP(number);
    }
    SHARED_CHECK_EQ(c,
                    std::string("[Object number too high for collision system: 5001]"
                                "[Object number too high for collision system: -1]"
                                "[Object number too high for collision system: 16777217]"
                                "[Object number too high for collision system: -2147483648]"),
                    joinedTexts(host));
}

// --- Activation walk -------------------------------------------------------------

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
    z.FreeObjZEP(9);
    SHARED_CHECK_EQ(c, listText({4, 0}), listText(walk(z)));
    SHARED_CHECK(c, host.boxes.empty());
}

// --- Meshes by memory block ------------------------------------------------------

// A host mesh block: 3 header words, then vertices of `vertexSize` bytes
// (stride rounded down to a multiple of 4), positions in the first 12 bytes
// and filler after them.
std::vector<uint32_t> meshBlock(uint32_t vertexSize, int32_t vertexCount,
                                const std::vector<float>& positions) {
    const uint32_t stride = vertexSize & ~3u;
    const size_t vertices = positions.size() / 3;
    std::vector<uint32_t> block(3 + vertices * stride / 4 + 1, 0xFFFFFFFFu);  // NaN filler
    block[0] = 0xA5A5A5A5u;  // never read
    block[1] = vertexSize;
    block[2] = uint32_t(vertexCount);
    unsigned char* bytes = reinterpret_cast<unsigned char*>(block.data()) + 12;
    for (size_t v = 0; v < vertices; ++v)
        std::memcpy(bytes + v * stride, &positions[v * 3], 3 * sizeof(float));
    return block;
}

const std::vector<float> kFloor = {-30, 0, -30, -30, 0, 90, 90, 0, -30};

// Sets up object 1 as a unit sphere mover of type 1 and object 2 as a mesh
// of type 2 at `meshAt`, moving the mover from `from` to `to` (previous and
// current positions) without a pass in between.
void dropSetup(const Commands& z, const float meshAt[3], const float from[3], const float to[3]) {
    z.StartCollisionZEP();
    z.SetCollisionZEP(1, 2, 0, 0, 0);
    z.NewCollObjZEP(1, 1);
    z.AddObjShapeZEP(1, ZEP_SHAPE_ELLIPSOID);
    z.SetObjRadiusZEP(1, w(1.0f), w(1.0f), w(1.0f));
    z.NewCollObjZEP(2, 2);
    z.AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    z.UpdateObjZEP(2, w(meshAt[0]), w(meshAt[1]), w(meshAt[2]), 0, 0, 0);
    z.UpdateObjZEP(2, w(meshAt[0]), w(meshAt[1]), w(meshAt[2]), 0, 0, 0);
    z.UpdateObjZEP(1, w(from[0]), w(from[1]), w(from[2]), 0, 0, 0);
    z.UpdateObjZEP(1, w(from[0]), w(from[1]), w(from[2]), 0, 0, 0);
    z.UpdateObjZEP(1, w(to[0]), w(to[1]), w(to[2]), 0, 0, 0);
    z.ActivateObjZEP(1);
    z.ActivateObjZEP(2);
}

void checkVector(Checks& c, const Commands& z,
                 int32_t (ZEPCALL* query)(int32_t, int32_t, int32_t), int32_t index,
                 float x, float y, float z3) {
    SHARED_CHECK_FLOAT(c, x, query(1, index, 1));
    SHARED_CHECK_FLOAT(c, y, query(1, index, 2));
    SHARED_CHECK_FLOAT(c, z3, query(1, index, 3));
    (void)z;
}

void checkCorner(Checks& c, const Commands& z, int32_t corner, float x, float y, float zc) {
    SHARED_CHECK_FLOAT(c, x, z.CollisionTriCorner(1, 1, corner, 1));
    SHARED_CHECK_FLOAT(c, y, z.CollisionTriCorner(1, 1, corner, 2));
    SHARED_CHECK_FLOAT(c, zc, z.CollisionTriCorner(1, 1, corner, 3));
}

void meshBlockAddsNothingToBodiesWithoutMesh(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.NewCollObjZEP(3, 2);
    const std::vector<uint32_t> block = meshBlock(12, 3, kFloor);
    z.AddMeshZEP(3, block.data());
    const std::vector<uint32_t> negative = meshBlock(12, -3, {});
    z.AddObjShapeZEP(3, ZEP_SHAPE_MESH);
    z.AddMeshZEP(3, negative.data());  // nothing to read, nothing read
    z.StartCollisionDebugZEP();
    z.AddMeshZEP(4, block.data());
    SHARED_CHECK_EQ(c, std::string("[Object isn't defined: 4]"), joinedTexts(host));
}

// --- The collision pass end to end -------------------------------------------------

void dropOntoFloorByTriangle(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    const float mesh[3] = {0, 0, 0}, from[3] = {-1, 5, -1}, to[3] = {-1, -5, -1};
    dropSetup(z, mesh, from, to);
    z.AddMeshTri(2, w(-30), w(0), w(-30), w(-30), w(0), w(90), w(90), w(0), w(-30));
    z.RunCollisionZEP();
    SHARED_CHECK_EQ(c, 1, z.CountCollisionsZEP(1));
    checkVector(c, z, z.CollisionHit, 1, -1, 0, -1);
    checkVector(c, z, z.CollisionHitNorm, 1, 0, 1, 0);
    SHARED_CHECK_EQ(c, 2, z.CollisionObjHit(1, 1));
    SHARED_CHECK_EQ(c, 1, z.CollisionPolyHit(1, 1));
    checkCorner(c, z, 1, -30, 0, -30);
    checkCorner(c, z, 2, -30, 0, 90);
    checkCorner(c, z, 3, 90, 0, -30);
    SHARED_CHECK_FLOAT(c, -1.0f, z.PeekObjXZEP(1));
    SHARED_CHECK_FLOAT(c, 1.0f, z.PeekObjYZEP(1));
    SHARED_CHECK_FLOAT(c, -1.0f, z.PeekObjZZEP(1));
    SHARED_CHECK_EQ(c, 0, z.CountCollisionsZEP(2));
}

void dropOntoRaisedFloorByMeshBlock(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    const float mesh[3] = {0, 2, 0}, from[3] = {-1, 7, -1}, to[3] = {-1, -3, -1};
    dropSetup(z, mesh, from, to);
    // Stride 20 (22 rounded down); a fourth vertex that makes no triangle.
    std::vector<float> positions = kFloor;
    positions.insert(positions.end(), {5, 5, 5});
    const std::vector<uint32_t> block = meshBlock(22, 4, positions);
    z.AddMeshZEP(2, block.data());
    z.RunCollisionZEP();
    SHARED_CHECK_EQ(c, 1, z.CountCollisionsZEP(1));
    checkVector(c, z, z.CollisionHit, 1, -1, 2, -1);
    SHARED_CHECK_EQ(c, 1, z.CollisionPolyHit(1, 1));
    checkCorner(c, z, 1, -30, 2, -30);
    checkCorner(c, z, 2, -30, 2, 90);
    checkCorner(c, z, 3, 90, 2, -30);
    SHARED_CHECK_FLOAT(c, 3.0f, z.PeekObjYZEP(1));
}

void troughQueries(Host& host, Checks& c) {
    const Commands& z = host.cmd;
    const float mesh[3] = {0, 0, 0}, from[3] = {0, 1.5f, 0}, to[3] = {3, -2, 3};
    dropSetup(z, mesh, from, to);
    z.AddMeshTri(2, w(-30), w(0), w(-30), w(-30), w(0), w(90), w(90), w(0), w(-30));
    z.AddMeshTri(2, w(-14), w(-12), w(-30), w(-14), w(-12), w(90), w(50), w(36), w(-30));
    z.RunCollisionZEP();
    SHARED_CHECK_EQ(c, 2, z.CountCollisionsZEP(1));
    const int32_t hitY = z.CollisionHit(1, 2, 2);
    SHARED_CHECK(c, std::fabs(floatOf(Word(hitY)) - 0.2f) < 5e-5f);
    SHARED_CHECK(c, std::fabs(floatOf(Word(z.CollisionHitNorm(1, 2, 1))) + 0.6f) < 5e-5f);
    SHARED_CHECK_EQ(c, 2, z.CollisionPolyHit(1, 2));
    SHARED_CHECK_EQ(c, 2, z.CollisionObjHit(1, 1));
    SHARED_CHECK_FLOAT(c, 36.0f, z.CollisionTriCorner(1, 2, 3, 2));
    z.UpdateObjZEP(2, w(0), w(1), w(0), 0, 0, 0);
    SHARED_CHECK_FLOAT(c, 37.0f, z.CollisionTriCorner(1, 2, 3, 2));
    SHARED_CHECK_EQ(c, Word(hitY), Word(z.CollisionHit(1, 2, 2)));
}

}  // namespace

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> all = {
        {"ErrorBoxOneShotAndTexts", false, errorBoxOneShotAndTexts},
        {"FailedCommandsReturnZero", false, failedCommandsReturnZero},
        {"ObjectNumberBounds", false, objectNumberBounds},
        {"StartTwiceKeepsStopEmpties", false, startTwiceKeepsStopEmpties},
        {"PositionsRoundTripBitForBit", false, positionsRoundTripBitForBit},
        {"RulesAndCheckShape", false, rulesAndCheckShape},
        {"ShapeCheckFindsRulesOfType300", false, shapeCheckFindsRulesOfType300},
        {"NumbersShowAsPassed", false, numbersShowAsPassed},
        {"ActivationWalk", false, activationWalk},
        {"MeshBlockWithoutMeshShape", false, meshBlockAddsNothingToBodiesWithoutMesh},
        {"DropOntoFloorByTriangle", true, dropOntoFloorByTriangle},
        {"DropOntoRaisedFloorByMeshBlock", true, dropOntoRaisedFloorByMeshBlock},
        {"TroughQueries", true, troughQueries},
    };
    return all;
}

// --- The long seeded run -------------------------------------------------------------

namespace {

class Digest {
public:
    void add(uint32_t word) {
        for (int i = 0; i < 4; ++i) {
            value_ ^= (word >> (8 * i)) & 0xFFu;
            value_ *= 0x100000001B3ull;
        }
    }
    void add(const std::string& text) {
        add(uint32_t(text.size()));
        for (unsigned char ch : text) {
            value_ ^= ch;
            value_ *= 0x100000001B3ull;
        }
    }
    uint64_t value() const { return value_; }

private:
    uint64_t value_ = 0xCBF29CE484222325ull;
};

// Same numbers on every compiler: no standard distributions.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int32_t below(int32_t n) { return int32_t(next() % uint32_t(n)); }
    // A float in [-range, range] on a grid of 1/256, made exactly from integers.
    float coordinate(int32_t range) {
        return float(below(2 * range * 256 + 1) - range * 256) / 256.0f;
    }
    // A float with arbitrary low mantissa bits, in [lo, lo + span).
    float fine(float lo, float span) {
        return lo + span * (float(next() >> 8) / 16777216.0f);
    }

private:
    uint32_t state_;
};

struct World {
    std::vector<int32_t> movers;
    std::vector<int32_t> meshes;
    std::vector<int32_t> all;
};

void addRandomTriangle(const Commands& z, Random& r, int32_t object) {
    // Mostly floors and ramps facing up, some walls, some facing away.
    const float cx = r.coordinate(40);
    const float cy = r.coordinate(6);
    const float cz = r.coordinate(40);
    const float size = 2.0f + float(r.below(24));
    const float tilt = r.fine(-3.0f, 6.0f);
    float c[9] = {cx - size, cy, cz - size, cx - size, cy + tilt, cz + size, cx + size, cy - tilt, cz - size};
    if (r.below(5) == 0) {  // a wall
        c[1] = cy - size;
        c[4] = cy + size;
        c[7] = cy - size;
        c[2] = cz;
        c[5] = cz + r.fine(-1.0f, 2.0f);
        c[8] = cz;
    }
    if (r.below(7) == 0) {  // seen from behind
        for (int i = 0; i < 3; ++i) std::swap(c[3 + i], c[6 + i]);
    }
    z.AddMeshTri(object, w(c[0]), w(c[1]), w(c[2]), w(c[3]), w(c[4]), w(c[5]), w(c[6]), w(c[7]),
                 w(c[8]));
}

void addRandomBlock(const Commands& z, Random& r, int32_t object) {
    const uint32_t vertexSize = 12 + uint32_t(r.below(29));
    const int32_t vertexCount = r.below(25);
    std::vector<float> positions;
    for (int32_t v = 0; v < vertexCount; ++v) {
        const float x = r.coordinate(40);
        const float y = r.fine(-4.0f, 4.0f);
        const float zz = r.coordinate(40);
        positions.insert(positions.end(), {x, y, zz});
    }
    const std::vector<uint32_t> block = meshBlock(vertexSize, vertexCount, positions);
    z.AddMeshZEP(object, block.data());
}

void foldObject(Digest& d, const Commands& z, int32_t n) {
    d.add(uint32_t(n));
    d.add(uint32_t(z.PeekObjXZEP(n)));
    d.add(uint32_t(z.PeekObjYZEP(n)));
    d.add(uint32_t(z.PeekObjZZEP(n)));
    d.add(uint32_t(z.CheckShapeZEP(n, ZEP_SHAPE_ELLIPSOID)));
    d.add(uint32_t(z.CheckShapeZEP(n, ZEP_SHAPE_MESH)));
    const int32_t count = z.CountCollisionsZEP(n);
    d.add(uint32_t(count));
    // One beyond the last, to fold the failure result as well.
    for (int32_t i = 1; i <= count + 1 && i <= 64; ++i) {
        for (int32_t k = 1; k <= 3; ++k) {
            d.add(uint32_t(z.CollisionHit(n, i, k)));
            d.add(uint32_t(z.CollisionHitNorm(n, i, k)));
            for (int32_t corner = 1; corner <= 3; ++corner)
                d.add(uint32_t(z.CollisionTriCorner(n, i, corner, k)));
        }
        d.add(uint32_t(z.CollisionObjHit(n, i)));
        d.add(uint32_t(z.CollisionPolyHit(n, i)));
    }
}

// --- A terrain far from the origin -------------------------------------------
//
// A level placed where floats are coarse (x 2.0e4, z -6.6e4: a spacing of
// 1/512 to 1/128): a height-field of 4608 triangles, enough for the mesh
// index to build its tree, closed by four walls in a mesh of its own. Movers
// walk over it for many passes in the same area, so their sweep caches are
// filled and read; twelve rows added halfway rebuild the tree under them;
// and two movers are sent 1000 and more units in one step, one along the
// terrain toward the far wall and one across the level from far outside.

constexpr float kLevelX = 20480.0f, kLevelY = -48.0f, kLevelZ = -65536.0f;
constexpr int kTerrainCells = 48;  // per side, 2 units each, two triangles each
constexpr int32_t kTerrain = 2000, kWalls = 2001, kFirstWalker = 2100, kWalkers = 10;

// Heights on the grid, in quarter units: a slope with bumps, all exact.
std::vector<float> terrainHeights(Random& r) {
    std::vector<float> h;
    for (int i = 0; i <= kTerrainCells; ++i)
        for (int j = 0; j <= kTerrainCells; ++j) h.push_back(0.125f * float(i) + 0.25f * float(r.below(5)));
    return h;
}

// The two triangles of cell (i, j), facing up, as 18 floats in the mesh frame.
void appendCell(std::vector<float>& out, const std::vector<float>& h, int i, int j) {
    auto corner = [&](int a, int b) {
        out.insert(out.end(), {float(2 * a - kTerrainCells), h[size_t(a * (kTerrainCells + 1) + b)],
                               float(2 * b - kTerrainCells)});
    };
    corner(i, j), corner(i, j + 1), corner(i + 1, j);
    corner(i + 1, j), corner(i, j + 1), corner(i + 1, j + 1);
}

// Rows [first, last) of cells: by memory block, or triangle by triangle.
void addTerrainRows(const Commands& z, const std::vector<float>& h, int first, int last, bool byBlock) {
    std::vector<float> corners;
    for (int i = first; i < last; ++i)
        for (int j = 0; j < kTerrainCells; ++j) appendCell(corners, h, i, j);
    if (byBlock) {
        const std::vector<uint32_t> block = meshBlock(16, int32_t(corners.size() / 3), corners);
        z.AddMeshZEP(kTerrain, block.data());
        return;
    }
    for (size_t c = 0; c < corners.size(); c += 9)
        z.AddMeshTri(kTerrain, w(corners[c]), w(corners[c + 1]), w(corners[c + 2]), w(corners[c + 3]),
                     w(corners[c + 4]), w(corners[c + 5]), w(corners[c + 6]), w(corners[c + 7]),
                     w(corners[c + 8]));
}

// A wall 12 high from (x0, z0) to (x1, z1), facing left of that direction.
void addWall(const Commands& z, float x0, float z0, float x1, float z1) {
    const Word lo = w(-4.0f), hi = w(12.0f);
    z.AddMeshTri(kWalls, w(x0), lo, w(z0), w(x0), hi, w(z0), w(x1), lo, w(z1));
    z.AddMeshTri(kWalls, w(x1), lo, w(z1), w(x0), hi, w(z0), w(x1), hi, w(z1));
}

void placeAt(const Commands& z, int32_t n, float x, float y, float zz) {
    z.UpdateObjZEP(n, w(kLevelX + x), w(kLevelY + y), w(kLevelZ + zz), 0, 0, 0);
}

void walkTerrain(Host& host, Random& r, Digest& d, int frames) {
    const Commands& z = host.cmd;
    z.StartCollisionZEP();
    z.SetCollisionZEP(1, 5, 0, 0, 0);
    z.SetCollisionZEP(1, 6, 0, 0, 0);
    const std::vector<float> heights = terrainHeights(r);
    z.NewCollObjZEP(kTerrain, 5);
    z.AddObjShapeZEP(kTerrain, ZEP_SHAPE_MESH);
    addTerrainRows(z, heights, 0, 18, true);
    addTerrainRows(z, heights, 18, 36, false);
    placeAt(z, kTerrain, 0, 0, 0);
    placeAt(z, kTerrain, 0, 0, 0);
    z.ActivateObjZEP(kTerrain);
    z.NewCollObjZEP(kWalls, 6);
    z.AddObjShapeZEP(kWalls, ZEP_SHAPE_MESH);
    const float e = float(kTerrainCells);
    addWall(z, -e, -e, -e, e), addWall(z, e, e, e, -e), addWall(z, e, -e, -e, -e), addWall(z, -e, e, e, e);
    placeAt(z, kWalls, 0, 0, 0);
    placeAt(z, kWalls, 0, 0, 0);
    z.ActivateObjZEP(kWalls);

    struct Walker {
        int32_t n;
        float vx, vz;
    };
    std::vector<Walker> walkers;
    // Just above the ground, on the rows there from the start.
    auto spawn = [&](int32_t n) {
        const float x = -10.0f + r.coordinate(30), zz = r.coordinate(40);
        const float y = 0.0625f * (x + e) + 3.5f + r.fine(0.0f, 1.0f);
        placeAt(z, n, x, y, zz);
        placeAt(z, n, x, y, zz);
    };
    for (int32_t k = 0; k < kWalkers; ++k) {
        const int32_t n = kFirstWalker + k;
        z.NewCollObjZEP(n, 1);
        z.AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
        if (k % 2) z.SetObjRadiusZEP(n, w(1.0f), w(1.0f), w(1.0f));
        else z.SetObjRadiusZEP(n, w(0.5f), w(1.8f), w(0.5f));
        spawn(n);
        z.ActivateObjZEP(n);
        const float vx = r.fine(-0.6f, 1.2f);
        const float vz = r.fine(-0.6f, 1.2f);
        walkers.push_back(Walker{n, vx, vz});
    }

    for (int frame = 0; frame < frames; ++frame) {
        for (Walker& walker : walkers) {
            if (frame % 8 == 7) {
                walker.vx = r.fine(-0.6f, 1.2f);
                walker.vz = r.fine(-0.6f, 1.2f);
            }
            const float x = floatOf(Word(z.PeekObjXZEP(walker.n))) - kLevelX;
            const float y = floatOf(Word(z.PeekObjYZEP(walker.n))) - kLevelY;
            const float zz = floatOf(Word(z.PeekObjZZEP(walker.n))) - kLevelZ;
            if (y < -20.0f || std::fabs(x) > 60.0f || std::fabs(zz) > 60.0f) spawn(walker.n);
            else placeAt(z, walker.n, x + walker.vx, y - 0.4f, zz + walker.vz);
        }
        if (frame % 6 == 2) {  // 1000 and more units along the terrain, into the far wall
            const int32_t n = walkers[0].n;
            const float y = 6.0f + r.coordinate(2);
            placeAt(z, n, -40.0f, y, 3.5f);
            placeAt(z, n, -40.0f, y, 3.5f);
            // Drawn one by one: the order in which a call's arguments are
            // evaluated differs between compilers.
            const float across = r.coordinate(20), along = r.fine(0.0f, 300.0f);
            placeAt(z, n, 1000.0f + along, y - 2.0f, 3.5f + across);
        }
        if (frame % 6 == 4) {  // from far outside, across the whole level
            const int32_t n = walkers[1].n;
            const float x = -700.0f - r.fine(0.0f, 200.0f), zz = r.coordinate(40);
            placeAt(z, n, x, 3.0f, zz);
            placeAt(z, n, x, 3.0f, zz);
            const float across = r.coordinate(8), up = r.coordinate(2);
            placeAt(z, n, 700.0f, 1.0f + up, zz + across);
        }
        if (frame == frames / 2) addTerrainRows(z, heights, 36, kTerrainCells, true);
        z.RunCollisionZEP();
        for (const Walker& walker : walkers) foldObject(d, z, walker.n);
        for (const Box& box : host.boxes) d.add(box.text);
        host.boxes.clear();
    }
    z.StopCollisionZEP();
}

}  // namespace

uint64_t scenarioDigest(Host& host, uint32_t seed, int frames) {
    const Commands& z = host.cmd;
    Random r(seed);
    Digest d;
    World world;

    z.StartCollisionZEP();
    // Every draw is its own statement: argument evaluation order differs
    // between compilers, and both builds must draw the same sequence.
    for (int i = 0; i < 12; ++i) {
        const int32_t a = r.below(4);
        const int32_t b = 4 + r.below(4);
        const Word u1 = r.next(), u2 = r.next(), u3 = r.next();
        z.SetCollisionZEP(a, b, u1, u2, u3);
    }
    z.SetCollisionZEP(301, 5, 0, 0, 0);
    z.SetCollisionZEP(0, 0, 0, 0, 0);

    auto makeMover = [&](int32_t n) {
        z.NewCollObjZEP(n, r.below(4));
        z.AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
        if (r.below(6) == 0) z.AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
        const float rx = r.fine(0.3f, 2.0f);
        const float ry = r.fine(0.3f, 3.0f);
        const float rz = r.fine(0.3f, 2.0f);
        z.SetObjRadiusZEP(n, w(rx), w(ry), w(rz));
        const float x = r.coordinate(30);
        const float y = 4.0f + r.coordinate(4);
        const float zz = r.coordinate(30);
        z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
        z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
        z.ActivateObjZEP(n);
    };
    auto makeMesh = [&](int32_t n) {
        z.NewCollObjZEP(n, 4 + r.below(4));
        z.AddObjShapeZEP(n, ZEP_SHAPE_MESH);
        if (r.below(4) == 0) z.AddObjShapeZEP(n, ZEP_SHAPE_MESH);
        const int32_t triangles = 4 + r.below(20);
        for (int32_t t = 0; t < triangles; ++t) addRandomTriangle(z, r, n);
        addRandomBlock(z, r, n);
        const float x = r.coordinate(3);
        const float y = r.coordinate(2);
        const float zz = r.coordinate(3);
        z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
        z.UpdateObjZEP(n, w(x), w(y), w(zz), 0, 0, 0);
        z.ActivateObjZEP(n);
    };

    for (int i = 0; i < 8; ++i) {
        const int32_t n = 1000 + i * 7;
        makeMesh(n);
        world.meshes.push_back(n);
    }
    for (int i = 0; i < 24; ++i) {
        const int32_t n = 1 + r.below(900);
        makeMover(n);
        world.movers.push_back(n);
    }
    world.all = world.movers;
    world.all.insert(world.all.end(), world.meshes.begin(), world.meshes.end());

    for (int frame = 0; frame < frames; ++frame) {
        for (int32_t n : world.movers) {
            const Word x = Word(z.PeekObjXZEP(n)), y = Word(z.PeekObjYZEP(n)),
                       zz = Word(z.PeekObjZZEP(n));
            const float vx = r.fine(-0.8f, 1.6f);
            const float vy = r.fine(-1.2f, 1.0f);
            const float vz = r.fine(-0.8f, 1.6f);
            float nx = floatOf(x) + vx, ny = floatOf(y) + vy, nz = floatOf(zz) + vz;
            if (ny < -20.0f || std::fabs(nx) > 60.0f || std::fabs(nz) > 60.0f) {
                nx = r.coordinate(30);
                ny = 6.0f;
                nz = r.coordinate(30);
            }
            const Word u1 = r.next(), u2 = r.next(), u3 = r.next();
            z.UpdateObjZEP(n, w(nx), w(ny), w(nz), u1, u2, u3);
        }
        if (frame % 9 == 4) {  // a mesh moves between passes
            const int32_t m = world.meshes[size_t(r.below(int32_t(world.meshes.size())))];
            const float x = r.coordinate(3);
            const float y = r.coordinate(2);
            const float zz = r.coordinate(3);
            z.UpdateObjZEP(m, w(x), w(y), w(zz), 0, 0, 0);
        }
        if (frame % 7 == 3) {  // activation changes, and an object is replaced
            const int32_t n = world.movers[size_t(r.below(int32_t(world.movers.size())))];
            if (r.below(2))
                z.DeActivateObjZEP(n);
            else
                z.ActivateObjZEP(n);
            if (r.below(3) == 0) makeMover(world.movers[size_t(r.below(int32_t(world.movers.size())))]);
        }
        if (frame % 13 == 6) {  // a failure in debug mode: its box is folded in
            z.StartCollisionDebugZEP();
            z.CollisionTriCorner(world.movers[0], 1, 1 + r.below(5), 1);
            z.FreeObjZEP(5001 + r.below(3));
        }
        z.RunCollisionZEP();
        for (int32_t n : world.all) foldObject(d, z, n);
        z.ResetCollisionStackZEP();
        for (int i = 0; i < 200; ++i) {
            const int32_t n = z.PeekCollisionStackZEP();
            d.add(uint32_t(n));
            if (n == 0) break;
        }
        for (const Box& box : host.boxes) {
            d.add(box.text);
            d.add(box.caption);
        }
        host.boxes.clear();
    }
    z.StopCollisionZEP();
    for (int32_t n : world.all) d.add(uint32_t(z.PeekObjXZEP(n)));
    host.boxes.clear();
    walkTerrain(host, r, d, frames / 2);
    return d.value();
}

}  // namespace zepshared
