// Two builds of the shared library in one process, an earlier commit's (the
// baseline) and the current tree's, the same scenes run on both and timed in
// interleaved rounds (baseline then current, current then baseline, ...) so
// that whatever else the machine does falls on both alike. Only the public C API
// is used, through a command table per build, so any commit's library will
// do. Times are wall-clock: a pass may run on several threads, whose work
// the calling thread's CPU time does not see. After each scene the movers'
// results must be the same to the bit on both sides; when they are not the
// program says so under the scene, runs the rest and exits with 1. Then the
// current build alone, its pass on one thread against its pass on the
// threads it is given (rounds taking turns on one world): the same figures,
// and results identical to the bit.
//
// usage: zepcollide_compare [--rounds N] [--passes N] [--threads N] [--only LABEL] [--quick] BASELINE.so CURRENT.so
//   --rounds N   rounds of the pass scenes (10; an even number runs each
//                side first equally often)
//   --passes N   timed passes per side and round (30)
//   --threads N  SetCollisionThreadsZEP(N) for the current build (0, the
//                default: automatic); the baseline runs as it is
//   --only LABEL the pass scene of that label alone (crowd-0.1, crowd-0.35,
//                shots, crowd-0.1-large, crowd-0.35-large, sixteen), both
//                comparisons, nothing else
//   --quick      leaves out loading 10^7 triangles (about a minute)
#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "levels.h"
#include "loaded_library.h"
#include "pass_scenes.h"

namespace zepbench {
namespace {

// Untimed passes after a scene's first (where a build that does not index a
// level when it is activated indexes it), so that the timed ones find the
// movers' caches as a running game would.
constexpr int kWarmupPasses = 5;
// Rounds of the loading scenes: each round loads the level on both sides.
// Even, so that each side loads first equally often.
constexpr int kLoadRounds = 6;
constexpr int kLargeLoadRounds = 4;
// Timed passes of the crowd after loading, for its steady pass time.
constexpr int kSteadyPasses = 10;
constexpr int kHitchMovers = 1000;
constexpr int64_t kMillion = 1000000;

struct Options {
    int rounds = 10;
    int passes = 30;
    int threads = 0;
    bool large = true;
    std::string only;  // one pass scene's label: that scene alone
    std::string paths[2];
};

struct Side {
    const char* name;
    LoadedLibrary library;
    const Commands& zep() const { return library.commands; }
};

// The sides in the order they run in round `round`: the baseline first in
// even rounds, the current build in odd ones, since running second is not
// the same as running first (the caches hold what the other side just read).
std::array<int, 2> sideOrder(int round) { return round % 2 == 0 ? std::array{0, 1} : std::array{1, 0}; }

double wallMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
}

template <typename Work>
double timed(Work&& work) {
    const double start = wallMilliseconds();
    work();
    return wallMilliseconds() - start;
}

// The thread setting of a side, where its build has the command.
void setThreads(const Commands& zep, int threads) {
    if (zep.SetCollisionThreadsZEP) zep.SetCollisionThreadsZEP(threads);
}

// Bytes the heap hands out: small blocks and the large ones it maps. Both
// builds allocate from the one heap of the process.
size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Hands the memory the heap keeps free back to the system, so that every
// load starts from the same heap whichever side loaded before it. Adding 10^6
// triangles took 24 ms into pages that an earlier load had left mapped and
// 58 ms into fresh ones, so without this a load's time depended on who had
// run before and how the heap's free space happened to lie.
void freshHeap() { malloc_trim(0); }

// The value below which a share q of the values lie (nearest rank).
double quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[size_t(q * double(values.size() - 1) + 0.5)];
}

double median(const std::vector<double>& values) { return quantile(values, 0.5); }

double largest(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double smallest(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// current[i] / baseline[i], round by round.
std::vector<double> ratios(const std::vector<double>& baseline, const std::vector<double>& current) {
    std::vector<double> result;
    for (size_t i = 0; i < baseline.size() && i < current.size(); ++i)
        result.push_back(baseline[i] > 0 ? current[i] / baseline[i] : 0);
    return result;
}

// The ratio of the two sides' figures, and how far it went from round to
// round: the noise that the interleaving did not cancel.
void printRatio(const char* what, double baseline, double current, const std::vector<double>& byRound,
                const char* sides = "current/baseline") {
    std::printf("  %s %s %.3f (rounds %.3f to %.3f)\n", sides, what, baseline > 0 ? current / baseline : 0,
                smallest(byRound), largest(byRound));
}

// The same for figures taken once a round, compared by their medians.
void printRatio(const char* what, const std::vector<double>& baseline, const std::vector<double>& current) {
    printRatio(what, median(baseline), median(current), ratios(baseline, current));
}

// Says whether both sides left the same results, and returns it.
bool reportResults(const uint64_t digests[2]) {
    if (digests[0] == digests[1]) {
        std::printf("  results: identical (digest %016" PRIx64 ")\n", digests[0]);
        return true;
    }
    std::printf("  results: DIFFER (baseline digest %016" PRIx64 ", current %016" PRIx64 ")\n", digests[0],
                digests[1]);
    return false;
}

// ---- Pass scenes: the crowds and the shots --------------------------------

// One side's run of a pass scene: its frames go on from round to round.
struct PassRun {
    int frame = 0;
    std::vector<double> passes;        // every timed pass, ms
    std::vector<double> roundMedians;  // the median pass of each round, ms
};

void startPassScene(const PassScene& scene, const Commands& zep, PassRun& run) {
    freshWorld(zep);
    scene.build(zep);
    for (int pass = 0; pass <= kWarmupPasses; ++pass) {
        scene.move(zep, run.frame++);
        zep.RunCollisionZEP();
    }
}

void timePassRound(const PassScene& scene, const Commands& zep, int passes, PassRun& run) {
    std::vector<double> round;
    for (int pass = 0; pass < passes; ++pass) {
        scene.move(zep, run.frame++);
        round.push_back(timed([&zep] { zep.RunCollisionZEP(); }));
    }
    run.roundMedians.push_back(median(round));
    run.passes.insert(run.passes.end(), round.begin(), round.end());
}

void printPassSide(const char* name, const PassRun& run) {
    std::printf("  %-8s  median %8.3f ms  p95 %8.3f  max %8.3f   round medians %.3f to %.3f\n", name,
                median(run.passes), quantile(run.passes, 0.95), largest(run.passes), smallest(run.roundMedians),
                largest(run.roundMedians));
}

bool comparePasses(const PassScene& scene, const Side sides[2], const Options& options) {
    std::printf("\n%s\n", scene.name.c_str());
    PassRun runs[2];
    for (int s = 0; s < 2; ++s) startPassScene(scene, sides[s].zep(), runs[s]);
    for (int round = 0; round < options.rounds; ++round)
        for (int s : sideOrder(round)) timePassRound(scene, sides[s].zep(), options.passes, runs[s]);
    for (int s = 0; s < 2; ++s) printPassSide(sides[s].name, runs[s]);
    printRatio("per pass", median(runs[0].passes), median(runs[1].passes),
               ratios(runs[0].roundMedians, runs[1].roundMedians));
    uint64_t digests[2];
    for (int s = 0; s < 2; ++s) {
        digests[s] = resultDigest(sides[s].zep(), scene.movers);
        sides[s].zep().StopCollisionZEP();
    }
    return reportResults(digests);
}

// ---- The host's calls around a pass -----------------------------------------

// What every command pays before its work (the float state, the one-thread
// gate): a game reads each mover's position and moves it again every frame,
// four calls a mover, which do next to no work themselves.
double hostCallsRound(const Commands& zep, int movers) {
    constexpr int kRepeats = 20;
    return timed([&zep, movers] {
               for (int repeat = 0; repeat < kRepeats; ++repeat)
                   for (int m = kMoverBase; m < kMoverBase + movers; ++m)
                       zep.UpdateObjZEP(m, zepFloat(zep.PeekObjXZEP(m)), zepFloat(zep.PeekObjYZEP(m)),
                                        zepFloat(zep.PeekObjZZEP(m)), 0, 0, 0);
           }) *
           1e6 / (4.0 * kRepeats * movers);
}

void compareHostCalls(const Side sides[2], const Options& options) {
    const PassScene crowd = passScenes().front();
    std::printf("\nhost calls: PeekObjX/Y/ZZEP and UpdateObjZEP for each of the %d movers of the first scene\n",
                crowd.movers);
    PassRun runs[2];
    std::vector<double> perCall[2];
    for (int s = 0; s < 2; ++s) startPassScene(crowd, sides[s].zep(), runs[s]);
    for (int round = 0; round < options.rounds; ++round)
        for (int s : sideOrder(round)) perCall[s].push_back(hostCallsRound(sides[s].zep(), crowd.movers));
    for (int s = 0; s < 2; ++s) {
        std::printf("  %-8s  median %6.2f ns a call\n", sides[s].name, median(perCall[s]));
        sides[s].zep().StopCollisionZEP();
    }
    printRatio("per call", perCall[0], perCall[1]);
}

// ---- Characters against plain movers -----------------------------------------

// The first crowd scene as it is, and with every mover a character (slope
// limit 45, step 0.3, snap 0.3), in interleaved rounds on one build: what
// the character rules cost a pass.
double crowdRound(const Commands& zep, const PassScene& crowd, bool characters, int passes, int& frame) {
    freshWorld(zep);
    crowd.build(zep);
    if (characters)
        for (int m = kMoverBase; m < kMoverBase + crowd.movers; ++m) zep.SetCharacterZEP(m, 45.0f, 0.3f, 0.3f);
    for (int pass = 0; pass <= kWarmupPasses; ++pass) {
        crowd.move(zep, frame++);
        zep.RunCollisionZEP();
    }
    std::vector<double> times;
    for (int pass = 0; pass < passes; ++pass) {
        crowd.move(zep, frame++);
        times.push_back(timed([&zep] { zep.RunCollisionZEP(); }));
    }
    zep.StopCollisionZEP();
    return median(times);
}

void compareCharacters(const Side& side, const Options& options) {
    if (!side.zep().SetCharacterZEP) return;
    const PassScene crowd = passScenes().front();
    std::printf("\n%s, every mover a character, against the same movers plain (%s build only)\n",
                crowd.name.c_str(), side.name);
    std::vector<double> medians[2];
    int frame = 0;
    for (int round = 0; round < options.rounds; ++round)
        for (int mode : sideOrder(round)) medians[mode].push_back(crowdRound(side.zep(), crowd, mode == 1, options.passes, frame));
    std::printf("  plain       median %8.3f ms\n  characters  median %8.3f ms\n", median(medians[0]), median(medians[1]));
    const std::vector<double> byRound = ratios(medians[0], medians[1]);
    std::printf("  characters/plain %.3f (rounds %.3f to %.3f)\n", median(medians[1]) / median(medians[0]),
                smallest(byRound), largest(byRound));
}

// ---- The current build on one thread against its threads -----------------

// The thread count changes no result, so one world serves both settings:
// the rounds take turns on it (1 thread, then the setting, then the other
// way round), each on the next frames. A second world then runs the same
// frames on one thread alone, untimed, and the two must end with the same
// results to the bit.
bool compareThreadsOn(const PassScene& scene, const Side& side, bool characters, const Options& options) {
    std::printf("\n%s%s\n", scene.name.c_str(), characters ? ", every mover a character" : "");
    const Commands& zep = side.zep();
    const auto start = [&](PassRun& run) {
        startPassScene(scene, zep, run);
        if (characters)
            for (int m = kMoverBase; m < kMoverBase + scene.movers; ++m) zep.SetCharacterZEP(m, 45.0f, 0.3f, 0.3f);
    };
    const int threads[2] = {1, options.threads};
    PassRun runs[2];
    PassRun shared;
    setThreads(zep, 1);
    start(shared);
    for (int round = 0; round < options.rounds; ++round)
        for (int s : sideOrder(round)) {
            setThreads(zep, threads[s]);
            runs[s].frame = shared.frame;
            timePassRound(scene, zep, options.passes, runs[s]);
            shared.frame = runs[s].frame;
        }
    const uint64_t mixed = resultDigest(zep, scene.movers);
    setThreads(zep, 1);
    PassRun serial;
    start(serial);
    while (serial.frame < shared.frame) {
        scene.move(zep, serial.frame++);
        zep.RunCollisionZEP();
    }
    const uint64_t digests[2] = {resultDigest(zep, scene.movers), mixed};
    zep.StopCollisionZEP();
    setThreads(zep, options.threads);
    printPassSide("1 thread", runs[0]);
    printPassSide(options.threads == 0 ? "auto" : "threads", runs[1]);
    printRatio("per pass", median(runs[0].passes), median(runs[1].passes),
               ratios(runs[0].roundMedians, runs[1].roundMedians), "threads/one");
    std::printf("  p95/median on threads %.2f\n", quantile(runs[1].passes, 0.95) / median(runs[1].passes));
    return reportResults(digests);
}

int compareThreads(const Side& side, const Options& options) {
    if (!side.zep().SetCollisionThreadsZEP) return 0;
    std::printf("\nthe %s build on 1 thread against %d threads (0: automatic), wall-clock, rounds taking turns on "
                "one world; results against the same frames on 1 thread\n",
                side.name, options.threads);
    int differing = 0;
    for (const PassScene& scene : passScenes()) differing += !compareThreadsOn(scene, side, false, options);
    differing += !compareThreadsOn(passScenes().front(), side, true, options);
    return differing;
}

// ---- Loading a level and its first pass -----------------------------------

struct LoadFigures {
    std::vector<double> add;        // adding the triangles, ms
    std::vector<double> firstPass;  // the first pass (the index, unless activation built it), ms
    std::vector<double> together;
    std::vector<double> bytesPerTriangle;
};

// One mover placed as `make bench` places it, then the level added (placed
// and activated, which builds its index) and the first pass run, each
// timed; the heap's growth over both is what the level costs. Builds that
// index a level in its first pass are compared on the two together.
uint64_t loadOnce(const Commands& zep, const TerrainBlock& block, int64_t triangles, LoadFigures& figures) {
    freshWorld(zep);
    freshHeap();
    placeMovers(zep, kMoverBase, 1, 100);
    const size_t before = heapInUse();
    const double add = timed([&] { addTerrain(zep, kLevelObject, block); });
    const double firstPass = timed([&zep] { zep.RunCollisionZEP(); });
    figures.bytesPerTriangle.push_back(double(heapInUse() - before) / double(triangles));
    figures.add.push_back(add);
    figures.firstPass.push_back(firstPass);
    figures.together.push_back(add + firstPass);
    const uint64_t digest = resultDigest(zep, 1);
    zep.StopCollisionZEP();
    return digest;
}

bool compareLoading(const Side sides[2], const TerrainBlock& block, int64_t triangles, const char* size,
                    int rounds) {
    std::printf("\nload and index 10^%s triangles (%d rounds)\n", size, rounds);
    LoadFigures figures[2];
    uint64_t digests[2] = {};
    for (int round = 0; round < rounds; ++round)
        for (int s : sideOrder(round)) digests[s] = loadOnce(sides[s].zep(), block, triangles, figures[s]);
    for (int s = 0; s < 2; ++s)
        std::printf("  %-8s  add %9.1f ms  first pass %9.1f ms  together %9.1f ms  %.1f bytes per triangle\n",
                    sides[s].name, median(figures[s].add), median(figures[s].firstPass), median(figures[s].together),
                    median(figures[s].bytesPerTriangle));
    printRatio("add", figures[0].add, figures[1].add);
    printRatio("first pass", figures[0].firstPass, figures[1].firstPass);
    printRatio("together", figures[0].together, figures[1].together);
    return reportResults(digests);
}

// ---- The first pass after loading against a steady pass ------------------

struct HitchFigures {
    std::vector<double> firstPass;
    std::vector<double> steadyPass;  // the median of each round's steady passes
};

// The walking crowd on a freshly loaded level: its first pass (the movers'
// first sweeps, and the index unless activation built it) and, after the
// warm-up, its steady passes.
uint64_t hitchOnce(const Commands& zep, const TerrainBlock& block, HitchFigures& figures) {
    freshWorld(zep);
    freshHeap();
    addTerrain(zep, kLevelObject, block);
    placeMovers(zep, kMoverBase, kHitchMovers, block.side);
    int frame = 0;
    stepWalkers(zep, kMoverBase, kHitchMovers, frame++);
    figures.firstPass.push_back(timed([&zep] { zep.RunCollisionZEP(); }));
    for (int pass = 0; pass < kWarmupPasses; ++pass) walkFrame(zep, kMoverBase, kHitchMovers, frame++);
    std::vector<double> steady;
    for (int pass = 0; pass < kSteadyPasses; ++pass) {
        stepWalkers(zep, kMoverBase, kHitchMovers, frame++);
        steady.push_back(timed([&zep] { zep.RunCollisionZEP(); }));
    }
    figures.steadyPass.push_back(median(steady));
    const uint64_t digest = resultDigest(zep, kHitchMovers);
    zep.StopCollisionZEP();
    return digest;
}

bool compareFirstPass(const Side sides[2], const TerrainBlock& block) {
    std::printf("\nfirst pass after loading 10^6 triangles against a steady pass: 1000 movers walking 0.1 a frame "
                "(%d rounds)\n",
                kLoadRounds);
    HitchFigures figures[2];
    uint64_t digests[2] = {};
    for (int round = 0; round < kLoadRounds; ++round)
        for (int s : sideOrder(round)) digests[s] = hitchOnce(sides[s].zep(), block, figures[s]);
    for (int s = 0; s < 2; ++s) {
        const double first = median(figures[s].firstPass), steady = median(figures[s].steadyPass);
        std::printf("  %-8s  first pass %8.1f ms  steady pass %7.3f ms  first/steady %.2f\n", sides[s].name, first,
                    steady, steady > 0 ? first / steady : 0);
    }
    printRatio("first pass", figures[0].firstPass, figures[1].firstPass);
    printRatio("steady pass", figures[0].steadyPass, figures[1].steadyPass);
    return reportResults(digests);
}

// ---- The program ----------------------------------------------------------

[[noreturn]] void usage() {
    std::fprintf(stderr,
                 "usage: zepcollide_compare [--rounds N] [--passes N] [--threads N] [--only LABEL] [--quick] BASELINE.so CURRENT.so\n");
    std::exit(2);
}

int positiveNumber(const char* text) {
    const int value = std::atoi(text);
    if (value <= 0) usage();
    return value;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    int paths = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc)
            options.rounds = positiveNumber(argv[++i]);
        else if (arg == "--passes" && i + 1 < argc)
            options.passes = positiveNumber(argv[++i]);
        else if (arg == "--threads" && i + 1 < argc)
            options.threads = std::atoi(argv[++i]);
        else if (arg == "--only" && i + 1 < argc)
            options.only = argv[++i];
        else if (arg == "--quick")
            options.large = false;
        else if (arg.rfind("--", 0) != 0 && paths < 2)
            options.paths[paths++] = arg;
        else
            usage();
    }
    if (paths != 2) usage();
    return options;
}

void run(const Options& options) {
    const Side sides[2] = {{"baseline", loadLibrary(options.paths[0])}, {"current", loadLibrary(options.paths[1])}};
    if (sides[0].library.handle == sides[1].library.handle) {
        // dlopen hands out one copy per file, and with it one world.
        std::fprintf(stderr, "zepcollide_compare: %s and %s are the same library file; copy one elsewhere\n",
                     options.paths[0].c_str(), options.paths[1].c_str());
        std::exit(1);
    }
    std::printf("baseline %s\ncurrent  %s\n", options.paths[0].c_str(), options.paths[1].c_str());
    std::printf("wall-clock; %d rounds of %d passes per side, interleaved, each side first in every other round\n"
                "ratios are current/baseline (under 1: the current build is faster), with their range over the rounds\n"
                "the current build's threads: %d (0: automatic)\n",
                options.rounds, options.passes, options.threads);
    setThreads(sides[1].zep(), options.threads);
    int differingScenes = 0;
    if (!options.only.empty()) {
        for (const PassScene& scene : passScenes())
            if (scene.label == options.only)
                differingScenes += !comparePasses(scene, sides, options) + !compareThreadsOn(scene, sides[1], false, options);
        std::exit(differingScenes == 0 ? 0 : 1);
    }
    for (const PassScene& scene : passScenes()) differingScenes += !comparePasses(scene, sides, options);
    compareHostCalls(sides, options);
    compareCharacters(sides[1], options);
    differingScenes += compareThreads(sides[1], options);
    {
        const TerrainBlock block = terrainBlock(kMillion);
        differingScenes += !compareFirstPass(sides, block);
        differingScenes += !compareLoading(sides, block, kMillion, "6", kLoadRounds);
    }
    if (options.large)
        differingScenes +=
            !compareLoading(sides, terrainBlock(10 * kMillion), 10 * kMillion, "7", kLargeLoadRounds);
    if (differingScenes == 0) {
        std::printf("\nresults: identical in every scene\n");
        return;
    }
    std::fflush(stdout);
    std::fprintf(stderr, "\nzepcollide_compare: RESULTS DIFFER between the two builds in %d scene(s)\n",
                 differingScenes);
    std::exit(1);
}

}  // namespace
}  // namespace zepbench

int main(int argc, char** argv) {
    zepbench::run(zepbench::parseOptions(argc, argv));
    return 0;
}
