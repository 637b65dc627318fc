// Runs the shared behaviour scenarios against the Linux library; the Windows
// stand-in runs the same ones against zepcollide.dll.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include "shared/caller_float_state.h"
#include "shared/scenarios.h"
#include "support/pass_threads.h"
#include "support/plain_path.h"

namespace zeptest {
namespace {

// The host's view of the Linux build: every argument one word, floats as
// their bit patterns.
float f(Word word) { return floatOf(word); }

Commands linuxCommands() {
    Commands c{};
    c.StartCollisionZEP = StartCollisionZEP;
    c.StartCollisionDebugZEP = StartCollisionDebugZEP;
    c.StopCollisionZEP = StopCollisionZEP;
    c.SetCollisionZEP = [](int32_t a, int32_t b, Word u1, Word u2, Word u3) {
        SetCollisionZEP(a, b, int32_t(u1), int32_t(u2), int32_t(u3));
    };
    c.NewCollObjZEP = NewCollObjZEP;
    c.CheckShapeZEP = CheckShapeZEP;
    c.AddObjShapeZEP = AddObjShapeZEP;
    c.ActivateObjZEP = ActivateObjZEP;
    c.DeActivateObjZEP = DeActivateObjZEP;
    c.SetObjRadiusZEP = [](int32_t n, Word x, Word y, Word z) { SetObjRadiusZEP(n, f(x), f(y), f(z)); };
    c.AddMeshTri = [](int32_t n, Word x1, Word y1, Word z1, Word x2, Word y2, Word z2, Word x3,
                      Word y3, Word z3) {
        AddMeshTri(n, f(x1), f(y1), f(z1), f(x2), f(y2), f(z2), f(x3), f(y3), f(z3));
    };
    c.AddMeshZEP = AddMeshZEP;
    c.UpdateObjZEP = [](int32_t n, Word x, Word y, Word z, Word u1, Word u2, Word u3) {
        UpdateObjZEP(n, f(x), f(y), f(z), int32_t(u1), int32_t(u2), int32_t(u3));
    };
    c.ResetCollisionStackZEP = ResetCollisionStackZEP;
    c.PeekCollisionStackZEP = PeekCollisionStackZEP;
    c.RunCollisionZEP = RunCollisionZEP;
    c.PeekObjXZEP = PeekObjXZEP;
    c.PeekObjYZEP = PeekObjYZEP;
    c.PeekObjZZEP = PeekObjZZEP;
    c.FreeObjZEP = FreeObjZEP;
    c.CountCollisionsZEP = CountCollisionsZEP;
    c.CollisionHit = CollisionHit;
    c.CollisionHitNorm = CollisionHitNorm;
    c.CollisionObjHit = CollisionObjHit;
    c.CollisionPolyHit = CollisionPolyHit;
    c.CollisionTriCorner = CollisionTriCorner;
    return c;
}

void recordBox(const char* text, const char* caption, void* context) {
    static_cast<Host*>(context)->boxes.push_back(Box{text, caption});
}

class LinuxHost {
public:
    LinuxHost() {
        host.cmd = linuxCommands();
        zepSetMessageHandler(recordBox, &host);
        resetWorld(host);
    }
    ~LinuxHost() {
        resetWorld(host);
        zepSetMessageHandler(nullptr, nullptr);
    }
    Host host;
};

TEST(SharedScenarioTable, EveryCommandIsSet) {
    LinuxHost side;
    for (int ordinal = 1; ordinal <= kCommandCount; ++ordinal) {
        void (*slot)();
        std::memcpy(&slot, reinterpret_cast<const unsigned char*>(&side.host.cmd) +
                               size_t(ordinal - 1) * sizeof slot,
                    sizeof slot);
        EXPECT_NE(slot, nullptr) << kCommandNames[ordinal - 1];
    }
}

class SharedScenario : public ::testing::TestWithParam<size_t> {};

TEST_P(SharedScenario, Passes) {
    const Scenario& scenario = scenarios()[GetParam()];
    LinuxHost side;
    Checks checks;
    scenario.run(side.host, checks);
    EXPECT_GT(checks.passed() + checks.failed(), 0) << "the scenario checked nothing";
    if (scenario.knownFault) {
        EXPECT_GT(checks.failed(), 0) << "passes now: remove its known-fault mark";
        if (checks.failed() > 0)
            GTEST_SKIP() << "known fault: " << scenario.knownFault << "\n  " << checks.failures()[0];
        return;
    }
    for (const std::string& failure : checks.failures()) ADD_FAILURE() << failure;
}

INSTANTIATE_TEST_SUITE_P(Linux, SharedScenario,
                         ::testing::Range(size_t(0), scenarios().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return std::string(scenarios()[info.param].name);
                         });

// The digest of the seeded long run, pinned: every build (-O2 and -O0, this
// one and the Windows DLL under Wine) must reproduce it. A deliberate change
// of behaviour changes it; anything else that does is a fault, such as an
// optimiser that drops a float rounding.
constexpr uint64_t kPinnedDigest = 0xb7c955bad5515365ull;

TEST(SharedScenarioDigest, PinnedDigestOfTheLongRun) {
    LinuxHost side;
    const uint64_t digest = scenarioDigest(side.host, kDigestSeed, kDigestFrames);
    EXPECT_EQ(digest, kPinnedDigest);
    std::printf("%s\n", digestLine(digest).c_str());  // for the Windows test run to compare
}

// The characters' run: a fixed script on the character commands, pinned
// like the long run, and the same under Wine.
constexpr uint64_t kPinnedCharacterDigest = 0xf87c1b425b1b7788ull;

ExtensionCommands linuxExtensionCommands() {
    ExtensionCommands c{};
    c.SetCharacterZEP = [](int32_t n, Word slope, Word step, Word snap) {
        SetCharacterZEP(n, floatOf(slope), floatOf(step), floatOf(snap));
    };
    c.CharacterGroundZEP = CharacterGroundZEP;
    c.CharacterGroundNormZEP = CharacterGroundNormZEP;
    c.CharacterGroundObjZEP = CharacterGroundObjZEP;
    c.CharacterFlagsZEP = CharacterFlagsZEP;
    c.SetCollisionThreadsZEP = SetCollisionThreadsZEP;
    return c;
}

TEST(SharedScenarioDigest, PinnedDigestOfTheCharacterRun) {
    LinuxHost side;
    const uint64_t digest = characterDigest(side.host, linuxExtensionCommands());
    EXPECT_EQ(digest, kPinnedCharacterDigest);
    std::printf("%s\n", characterDigestLine(digest).c_str());  // for the Windows test run to compare
    const zeptest::PlainPath path;
    EXPECT_EQ(characterDigest(side.host, linuxExtensionCommands()), digest) << "the plain path";
}

// The crowd's run, pinned like the others, gives the same digest with the
// pass on 1 to 8 threads (it has movers enough to split without help).
constexpr uint64_t kPinnedCrowdDigest = 0x114546f534cf9bafull;

TEST(SharedScenarioDigest, PinnedDigestOfTheCrowdRun) {
    LinuxHost side;
    const int64_t splitBefore = zep::testing::splitPasses();
    for (int32_t threads : kThreadCounts) {
        const uint64_t digest = crowdDigest(side.host, linuxExtensionCommands(), threads);
        EXPECT_EQ(digest, kPinnedCrowdDigest) << threads << " threads";
        if (threads == 1) std::printf("%s\n", crowdDigestLine(digest).c_str());  // for the Windows test run
    }
    EXPECT_GT(zep::testing::splitPasses(), splitBefore);
}

// The long run and the characters' run with every pass split, at every
// thread count: their pinned digests again.
TEST(SharedScenarioDigest, PinnedDigestsWithEveryPassSplit) {
    LinuxHost side;
    atEveryThreadCount(
        [&] {
            return std::pair{scenarioDigest(side.host, kDigestSeed, kDigestFrames),
                             characterDigest(side.host, linuxExtensionCommands())};
        },
        [](int32_t threads, std::pair<uint64_t, uint64_t> digests) {
            EXPECT_EQ(digests.first, kPinnedDigest) << threads << " threads";
            EXPECT_EQ(digests.second, kPinnedCharacterDigest) << threads << " threads";
        });
}

TEST(SharedScenarioDigest, AnotherSeedAnotherDigest) {
    LinuxHost side;
    EXPECT_NE(scenarioDigest(side.host, kDigestSeed + 1, kDigestFrames), kPinnedDigest)
        << "the digest does not depend on what the run does";
}

// The DLL cannot leave its indexed paths, so the pinned digest is theirs; the
// plain path that visits every triangle (the terrain's thousands included)
// must give it too.
TEST(SharedScenarioDigest, PlainPathGivesThePinnedDigest) {
    LinuxHost side;
    const zeptest::PlainPath path;
    EXPECT_EQ(scenarioDigest(side.host, kDigestSeed, kDigestFrames), kPinnedDigest);
}

// The host may hold any rounding mode, flush-to-zero or denormals-are-zero
// (a graphics driver may set them): every command computes in round to
// nearest all the same and gives the host its MXCSR back, flags included.
TEST(SharedScenarioDigest, PinnedWhateverTheHostFloatState) {
    for (const HostFloatState& state : kHostFloatStates) {
        LinuxHost side;
        side.host.cmd = inHostFloatState(linuxCommands());
        callerFloatState.mxcsr = hostMxcsr(state);
        EXPECT_NE(callerFloatState.mxcsr, kMxcsrDefault) << state.name;
        EXPECT_EQ(scenarioDigest(side.host, kDigestSeed, kDigestFrames), kPinnedDigest) << state.name;
        EXPECT_GT(callerFloatState.calls, 100000) << state.name;
        EXPECT_EQ(callerFloatState.changed, 0)
            << state.name << ": " << kCommandNames[callerFloatState.firstChangedOrdinal - 1]
            << " returned with MXCSR " << std::hex << callerFloatState.firstChangedMxcsr;
    }
}

TEST(SharedScenarioDigest, HostFloatStatesAreTheOnesNamed) {
    EXPECT_EQ(hostMxcsr(kHostFloatStates[0]), 0x7F80u);
    EXPECT_EQ(hostMxcsr(kHostFloatStates[1]), 0x5F80u);
    EXPECT_EQ(hostMxcsr(kHostFloatStates[2]), 0x3F80u);
    EXPECT_EQ(hostMxcsr(kHostFloatStates[3]), 0x9FC0u);
    EXPECT_EQ(hostMxcsr(kHostFloatStates[4]), 0xF9C1u);
}

// The wrapped table sees a command that leaves the host another MXCSR.
TEST(SharedScenarioDigest, WrappedTableSeesAChangedMxcsr) {
    Commands inner = linuxCommands();
    inner.RunCollisionZEP = [] { _mm_setcsr(kMxcsrDefault); };
    const Commands wrapped = inHostFloatState(inner);
    callerFloatState.mxcsr = hostMxcsr(kHostFloatStates[1]);
    wrapped.PeekCollisionStackZEP();
    wrapped.RunCollisionZEP();
    EXPECT_EQ(callerFloatState.calls, 2);
    EXPECT_EQ(callerFloatState.changed, 1);
    EXPECT_EQ(callerFloatState.firstChangedOrdinal, 16);
    EXPECT_EQ(callerFloatState.firstChangedMxcsr, kMxcsrDefault);
    EXPECT_EQ(_mm_getcsr() & ~0x3Fu, kMxcsrDefault) << "the test itself is back in round to nearest";
}

}  // namespace
}  // namespace zeptest
