// Instructions per pass of two builds of the library, counted by callgrind,
// which the machine's load does not move. The pass scenes of
// zepcollide_compare run on each build; only the RunCollisionZEP calls of
// the counted passes are collected (a client request toggles collection
// around each), and after each scene and build the counts are dumped under
// the label "LABEL SIDE PASSES", which bench/instructions.sh reads back.
// The results of both builds must be the same to the bit, as in
// zepcollide_compare. Instrumentation stays on throughout: switched off and
// on again between scenes (CALLGRIND_STOP/START_INSTRUMENTATION), callgrind
// 3.19 counted the second build's passes at a twentieth of what they cost.
//
// usage: valgrind --tool=callgrind --collect-atstart=no
//          zepcollide_instructions [--warmup N] [--passes N] BASELINE.so CURRENT.so
//   --warmup N   uncounted passes after the first (20)
//   --passes N   counted passes per scene and build (5)
#include <valgrind/callgrind.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "loaded_library.h"
#include "pass_scenes.h"

namespace zepbench {
namespace {

struct Options {
    int warmup = 20;
    int passes = 5;
    std::string paths[2];
};

const char* const kSideNames[2] = {"baseline", "current"};

// The scene on one build: built and warmed up uncounted, then the counted
// passes, dumped under the scene's label. Returns the results' digest.
uint64_t countPasses(const PassScene& scene, const Commands& zep, const char* side, const Options& options) {
    freshWorld(zep);
    scene.build(zep);
    int frame = 0;
    for (; frame <= options.warmup; ++frame) {
        scene.move(zep, frame);
        zep.RunCollisionZEP();
    }
    for (int pass = 0; pass < options.passes; ++pass, ++frame) {
        scene.move(zep, frame);
        CALLGRIND_TOGGLE_COLLECT;
        zep.RunCollisionZEP();
        CALLGRIND_TOGGLE_COLLECT;
    }
    const std::string label = scene.label + " " + side + " " + std::to_string(options.passes);
    CALLGRIND_DUMP_STATS_AT(label.c_str());
    const uint64_t digest = resultDigest(zep, scene.movers);
    zep.StopCollisionZEP();
    return digest;
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: zepcollide_instructions [--warmup N] [--passes N] BASELINE.so CURRENT.so\n");
    std::exit(2);
}

Options parseOptions(int argc, char** argv) {
    Options options;
    int paths = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--warmup" && i + 1 < argc)
            options.warmup = std::atoi(argv[++i]);
        else if (arg == "--passes" && i + 1 < argc)
            options.passes = std::atoi(argv[++i]);
        else if (arg.rfind("--", 0) != 0 && paths < 2)
            options.paths[paths++] = arg;
        else
            usage();
    }
    if (paths != 2 || options.warmup < 0 || options.passes <= 0) usage();
    return options;
}

int run(const Options& options) {
    if (!RUNNING_ON_VALGRIND) {
        std::fprintf(stderr, "zepcollide_instructions counts nothing unless run under valgrind --tool=callgrind\n");
        return 2;
    }
    const LoadedLibrary libraries[2] = {loadLibrary(options.paths[0]), loadLibrary(options.paths[1])};
    int differing = 0;
    for (const PassScene& scene : passScenes()) {
        // Loading 10^6 triangles under callgrind takes minutes; the crowds
        // on 10^5 count the same per-mover work.
        if (scene.label.ends_with("-large")) continue;
        uint64_t digests[2];
        for (int s = 0; s < 2; ++s) digests[s] = countPasses(scene, libraries[s].commands, kSideNames[s], options);
        const bool same = digests[0] == digests[1];
        std::printf("%s: results %s (baseline %016" PRIx64 ", current %016" PRIx64 ")\n", scene.label.c_str(),
                    same ? "identical" : "DIFFER", digests[0], digests[1]);
        differing += same ? 0 : 1;
    }
    return differing == 0 ? 0 : 1;
}

}  // namespace
}  // namespace zepbench

int main(int argc, char** argv) { return zepbench::run(zepbench::parseOptions(argc, argv)); }
