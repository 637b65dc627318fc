// Behaviour scenarios that run unchanged against both builds: the Linux
// library (through GoogleTest) and zepcollide.dll (through the host stand-in
// under Wine). They reach the library only through a table of the 26
// commands, typed the way the host declares them: every argument one 32-bit
// word, floats passed and returned as their bit patterns.
//
// No GoogleTest in here: the Windows stand-in has none. A scenario reports
// through Checks, and each side turns that into its own pass/fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/bits.h"
#include "zepcollide.h"

namespace zeptest {

using Word = uint32_t;

// The commands in ordinal order (field n-1 is ordinal n), as the host sees
// them. On 32-bit Windows each pointer is __stdcall.
struct Commands {
    void(ZEPCALL* StartCollisionZEP)();
    void(ZEPCALL* StartCollisionDebugZEP)();
    void(ZEPCALL* StopCollisionZEP)();
    void(ZEPCALL* SetCollisionZEP)(int32_t, int32_t, Word, Word, Word);
    void(ZEPCALL* NewCollObjZEP)(int32_t, int32_t);
    int32_t(ZEPCALL* CheckShapeZEP)(int32_t, int32_t);
    void(ZEPCALL* AddObjShapeZEP)(int32_t, int32_t);
    void(ZEPCALL* ActivateObjZEP)(int32_t);
    void(ZEPCALL* DeActivateObjZEP)(int32_t);
    void(ZEPCALL* SetObjRadiusZEP)(int32_t, Word, Word, Word);
    void(ZEPCALL* AddMeshTri)(int32_t, Word, Word, Word, Word, Word, Word, Word, Word, Word);
    void(ZEPCALL* AddMeshZEP)(int32_t, const void*);
    void(ZEPCALL* UpdateObjZEP)(int32_t, Word, Word, Word, Word, Word, Word);
    void(ZEPCALL* ResetCollisionStackZEP)();
    int32_t(ZEPCALL* PeekCollisionStackZEP)();
    void(ZEPCALL* RunCollisionZEP)();
    int32_t(ZEPCALL* PeekObjXZEP)(int32_t);
    int32_t(ZEPCALL* PeekObjYZEP)(int32_t);
    int32_t(ZEPCALL* PeekObjZZEP)(int32_t);
    void(ZEPCALL* FreeObjZEP)(int32_t);
    int32_t(ZEPCALL* CountCollisionsZEP)(int32_t);
    int32_t(ZEPCALL* CollisionHit)(int32_t, int32_t, int32_t);
    int32_t(ZEPCALL* CollisionHitNorm)(int32_t, int32_t, int32_t);
    int32_t(ZEPCALL* CollisionObjHit)(int32_t, int32_t);
    int32_t(ZEPCALL* CollisionPolyHit)(int32_t, int32_t);
    int32_t(ZEPCALL* CollisionTriCorner)(int32_t, int32_t, int32_t, int32_t);
};

inline constexpr int kCommandCount = 26;
static_assert(sizeof(Commands) == kCommandCount * sizeof(void (*)()),
              "one pointer per command, nothing else");

// Export names by ordinal: kCommandNames[n - 1] is ordinal n.
extern const char* const kCommandNames[kCommandCount];

// Sets the command with the given ordinal (1 to 26) from an untyped address.
void setCommand(Commands& commands, int ordinal, void (*address)());

// What a scenario drives: the commands, and the boxes that the platform's
// recorder collects while it runs.
struct Host {
    Commands cmd{};
    std::vector<Box> boxes;
};

// Collects the outcome of the checks of one scenario.
class Checks {
public:
    void check(bool ok, const char* file, int line, const std::string& what);
    int passed() const { return passed_; }
    int failed() const { return int(failures_.size()); }
    const std::vector<std::string>& failures() const { return failures_; }

private:
    int passed_ = 0;
    std::vector<std::string> failures_;
};

std::string describeWord(Word word);

#define SHARED_CHECK(checks, condition) (checks).check((condition), __FILE__, __LINE__, #condition)
#define SHARED_CHECK_EQ(checks, expected, actual)                                              \
    do {                                                                                       \
        const auto sharedExpected_ = (expected);                                               \
        const auto sharedActual_ = (actual);                                                   \
        (checks).check(sharedExpected_ == sharedActual_, __FILE__, __LINE__,                   \
                       std::string(#actual " == " #expected " (got ") +                        \
                           ::zeptest::describeValue(sharedActual_) + ", expected " +         \
                           ::zeptest::describeValue(sharedExpected_) + ")");                 \
    } while (0)
// A float result compared bit for bit with the expected float.
#define SHARED_CHECK_FLOAT(checks, expected, result) \
    SHARED_CHECK_EQ(checks, ::zeptest::bitsOf(float(expected)), ::zeptest::Word(result))

inline std::string describeValue(int32_t v) { return std::to_string(v); }
inline std::string describeValue(uint32_t v) { return describeWord(v); }
inline std::string describeValue(const std::string& v) { return "\"" + v + "\""; }
inline std::string describeValue(const char* v) { return describeValue(std::string(v)); }

struct Scenario {
    const char* name;
    // Scenarios that need the collide-and-slide solver, which has not landed
    // yet; kCollisionPassLanded turns them on.
    bool needsPass;
    void (*run)(Host&, Checks&);
    // Set while the library is known to get this scenario wrong: the scenario
    // still runs, its failure is reported as known, and once it passes the
    // run fails until the mark is removed.
    const char* knownFault = nullptr;
};

// Flip to true when the solver lands: from then on the pass scenarios must
// pass on both builds instead of being reported as pending.
inline constexpr bool kCollisionPassLanded = true;

const std::vector<Scenario>& scenarios();

// Brings the library to its load state through the commands alone: stopped,
// no message armed, no boxes recorded.
void resetWorld(Host& host);

// A long seeded run over objects, meshes (by triangle and by memory block),
// rules, activation and frames, then movers walking a terrain of thousands of
// triangles far from the origin (the mesh index's tree, the sweep caches,
// sweeps of 1000 units and more), folding every command result and every box
// text into a 64-bit FNV-1a digest. Both builds must give the same digest.
uint64_t scenarioDigest(Host& host, uint32_t seed, int frames);

inline constexpr uint32_t kDigestSeed = 20240611u;
inline constexpr int kDigestFrames = 120;

// The line both builds print, so their digests can be compared.
std::string digestLine(uint64_t digest);

// The commands after the 26, ordinals 27 to 32 (this library's own: the
// character commands and the thread setting), typed as the host declares
// them.
struct ExtensionCommands {
    void(ZEPCALL* SetCharacterZEP)(int32_t, Word, Word, Word);
    int32_t(ZEPCALL* CharacterGroundZEP)(int32_t);
    int32_t(ZEPCALL* CharacterGroundNormZEP)(int32_t, int32_t);
    int32_t(ZEPCALL* CharacterGroundObjZEP)(int32_t);
    int32_t(ZEPCALL* CharacterFlagsZEP)(int32_t);
    void(ZEPCALL* SetCollisionThreadsZEP)(int32_t);
};
inline constexpr int kFirstExtensionOrdinal = 27;
inline constexpr int kExtensionCommandCount = 6;
inline constexpr const char* kExtensionCommandNames[kExtensionCommandCount] = {
"SetCharacterZEP",       "CharacterGroundZEP", "CharacterGroundNormZEP", "CharacterGroundObjZEP",
    "CharacterFlagsZEP",     "SetCollisionThreadsZEP"};

// Characters and a plain mover on a level with a ramp, a steep slope, stairs
// and a moving platform, for a fixed script of frames: every position,
// contact and character query folded into a digest both builds must give.
uint64_t characterDigest(Host& host, const ExtensionCommands& characters);
std::string characterDigestLine(uint64_t digest);

// A crowd of walkers and characters on the character level, some of them
// carrying meshes the others meet, run with the pass on `threads` threads:
// every position, contact and character query folded into a digest that
// must not depend on the thread count, and that both builds must give.
// Without `stop` the run leaves the world and its threads as they are.
uint64_t crowdDigest(Host& host, const ExtensionCommands& extensions, int32_t threads, bool stop = true);
std::string crowdDigestLine(uint64_t digest);

}  // namespace zeptest
