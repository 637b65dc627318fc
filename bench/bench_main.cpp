// Speed of the indexed paths against the plain reference path, scene by scene,
// in the same run. Ends with one summary line per scene:
//   scene: indexed X ms, linear Y ms, ratio Z
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
#include "levels.h"
#include "zepcollide.h"

namespace zepbench {
namespace {

constexpr int kMoverBase = 1;
constexpr int kLevelObject = 5000;
// The scenes drive the library linked into this program.
const Commands& linked = linkedCommands();

struct Scene {
    std::string name;
    std::function<void()> build;  // on a started, empty world
    int movers;
    int64_t indexedIterations;
    int64_t linearIterations;  // 0: the plain path would take too long to time
    std::function<void(int frame)> frame = nullptr;  // one frame and its pass; walking by default
};

// Bytes the heap hands out: small blocks and the large ones it maps.
size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void freshWorld() {
    StopCollisionZEP();
    StartCollisionZEP();
    SetCollisionZEP(1, 2, 0, 0, 0);
}

void stepFrame(const Scene& scene, int frame) {
    if (scene.frame)
        scene.frame(frame);
    else
        walkFrame(linked, kMoverBase, scene.movers, frame);
}

std::vector<Scene> scenes() {
    std::vector<Scene> list;
    const int64_t sizes[] = {1000, 10000, 100000, 1000000, 10000000};
    const int64_t linearRuns[] = {200, 40, 6, 2, 0};
    for (int i = 0; i < 5; ++i) {
        const int64_t triangles = sizes[i];
        list.push_back({"one mover on 10^" + std::to_string(3 + i) + " triangles",
                        [triangles] {
                            placeMovers(linked, kMoverBase, 1, loadTerrain(linked, kLevelObject, triangles));
                        },
                        1, 3000, linearRuns[i]});
    }
    // Object numbers stop at 5000: the largest crowd is 4000.
    for (int movers : {10, 100, 1000, 4000})
        list.push_back({std::to_string(movers) + " movers on 10^5 triangles",
                        [movers] {
                            placeMovers(linked, kMoverBase, movers, loadTerrain(linked, kLevelObject, 100000));
                        },
                        movers, movers >= 1000 ? 60 : 600, movers <= 1000 ? 1 : 0});
    // The same crowd on a level placed a million units out: sweeps run in
    // the level's own frame, so it should cost what it costs at the origin.
    list.push_back({"1000 movers on 10^5 triangles placed at 10^6",
                    [] {
                        placeMovers(linked, kMoverBase, 1000, loadTerrain(linked, kLevelObject, 100000, 1e6f), 1e6f);
                    },
                    1000, 60, 0});
    list.push_back({"5000 objects: 4000 movers, 1000 boxes",
                    [] {
                        placeBoxes(linked, 4001, 1000, 200);
                        placeMovers(linked, kMoverBase, 4000, 200);
                    },
                    4000, 60, 2});
    static float shotSide = 0;
    list.push_back({"1000 shots of 40 units on 10^5 triangles",
                    [] {
                        shotSide = loadTerrain(linked, kLevelObject, 100000);
                        placeShots(linked, kMoverBase, 1000);
                    },
                    1000, 60, 1, [](int frame) { shootFrame(linked, kMoverBase, 1000, frame, shotSide); }});
    // Every ellipsoid of one body against every mesh of another: the work is
    // N x N sweeps a pass, so what each costs decides the figure.
    for (int shapes : {250, 500, 1000})
        list.push_back({"one body of " + std::to_string(shapes) + " ellipsoids against one body of " +
                            std::to_string(shapes) + " meshes",
                        [shapes] { placeShapeCrowd(linked, kMoverBase, kLevelObject, shapes); }, 1, 10000 / shapes,
                        10000 / shapes, [](int frame) { circleFrame(linked, kMoverBase, frame); }});
    return list;
}

void runFrames(const Scene& scene, benchmark::State& state, bool linear) {
    freshWorld();
    scene.build();
    zep::world().plainPath = linear;
    // The first pass sweeps each mover in from where it was placed: that is
    // loading work, not a pass.
    stepFrame(scene, 0);
    int frame = 1;
    for (auto _ : state) stepFrame(scene, frame++);
    zep::world().plainPath = false;
    StopCollisionZEP();
}

// The same frames through both paths must leave the same world.
bool identical(const Scene& scene, int frames) {
    std::vector<uint32_t> results[2];
    for (int linear = 0; linear < 2; ++linear) {
        freshWorld();
        scene.build();
        zep::world().plainPath = linear == 1;
        for (int frame = 0; frame < frames; ++frame) stepFrame(scene, frame);
        results[linear] = snapshot(linked, kMoverBase, scene.movers);
        zep::world().plainPath = false;
    }
    StopCollisionZEP();
    return results[0] == results[1];
}

// Loading and indexing a level; reports the heap bytes per triangle that the
// records and the index hold.
void loadAndIndex(benchmark::State& state, int64_t triangles) {
    double bytesPerTriangle = 0;
    for (auto _ : state) {
        state.PauseTiming();
        StopCollisionZEP();
        freshWorld();
        placeMovers(linked, kMoverBase, 1, 100);
        const size_t before = heapInUse();
        state.ResumeTiming();
        loadTerrain(linked, kLevelObject, triangles);
        RunCollisionZEP();  // activation built the index; this sweeps the mover in
        state.PauseTiming();
        bytesPerTriangle = double(heapInUse() - before) / double(triangles);
        state.ResumeTiming();
    }
    state.counters["bytes_per_triangle"] = bytesPerTriangle;
    StopCollisionZEP();
}

// The first pass of 1000 movers that were each given one position: each
// sweeps in from the origin, across the level. Reports how much the heap
// grew in that pass, against what the world held before it (the level
// indexed, the movers made).
void firstPassOfPlacedMovers(benchmark::State& state) {
    double growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        freshWorld();
        const float side = loadTerrain(linked, kLevelObject, 100000);
        placeMovers(linked, kMoverBase, 1, side);
        RunCollisionZEP();  // builds the level's index
        FreeObjZEP(kMoverBase);
        for (int k = 0; k < 1000; ++k) {
            NewCollObjZEP(kMoverBase + k, 1);
            AddObjShapeZEP(kMoverBase + k, ZEP_SHAPE_ELLIPSOID);
            SetObjRadiusZEP(kMoverBase + k, 0.4f, 0.9f, 0.4f);
            UpdateObjZEP(kMoverBase + k, 2 + float(k % 32) * (side - 4) / 32, 1.5f, 2 + float(k / 32) * (side - 4) / 32, 0, 0, 0);
            ActivateObjZEP(kMoverBase + k);
        }
        const double before = double(heapInUse());
        state.ResumeTiming();
        RunCollisionZEP();
        state.PauseTiming();
        growth = 100.0 * (double(heapInUse()) - before) / before;
        StopCollisionZEP();
        state.ResumeTiming();
    }
    state.counters["memory_growth_percent"] = growth;
}

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> milliseconds;
    std::map<std::string, double> counters;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
            for (const auto& [name, counter] : run.counters) counters[run.benchmark_name() + " " + name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

double find(const SummaryReporter& reporter, const std::string& prefix) {
    for (const auto& [name, ms] : reporter.milliseconds)
        if (name.rfind(prefix, 0) == 0) return ms;
    return 0;
}

// A counter of the first benchmark whose name starts with `prefix`.
double counter(const SummaryReporter& reporter, const std::string& prefix, const std::string& name) {
    for (const auto& [key, value] : reporter.counters)
        if (key.rfind(prefix, 0) == 0 && key.size() > name.size() && key.compare(key.size() - name.size(), name.size(), name) == 0)
            return value;
    return 0;
}

}  // namespace
}  // namespace zepbench

int main(int argc, char** argv) {
    using namespace zepbench;
    benchmark::Initialize(&argc, argv);
    const std::vector<Scene> all = scenes();
    for (const Scene& scene : all) {
        benchmark::RegisterBenchmark((scene.name + "/indexed").c_str(),
                                     [&scene](benchmark::State& s) { runFrames(scene, s, false); })
            ->Iterations(scene.indexedIterations)
            ->Unit(benchmark::kMillisecond);
        if (scene.linearIterations > 0)
            benchmark::RegisterBenchmark((scene.name + "/linear").c_str(),
                                         [&scene](benchmark::State& s) { runFrames(scene, s, true); })
                ->Iterations(scene.linearIterations)
                ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("first pass of 1000 placed movers", firstPassOfPlacedMovers)
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("load and index 10^6 triangles",
                                 [](benchmark::State& s) { loadAndIndex(s, 1000000); })
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("load and index 10^7 triangles",
                                 [](benchmark::State& s) { loadAndIndex(s, 10000000); })
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nSummary (per pass; single thread):\n");
    for (const Scene& scene : all) {
        const double indexed = find(reporter, scene.name + "/indexed");
        if (scene.linearIterations == 0) {
            std::printf("%s: indexed %.4f ms\n", scene.name.c_str(), indexed);
            continue;
        }
        const double linear = find(reporter, scene.name + "/linear");
        const bool same = identical(scene, scene.frame ? 1 : scene.movers > 1 ? 3 : 20);
        std::printf("%s: indexed %.4f ms, linear %.4f ms, ratio %.1f%s\n", scene.name.c_str(), indexed, linear,
                    indexed > 0 ? linear / indexed : 0.0, same ? "" : "  RESULTS DIFFER");
    }
    std::printf("first pass of 1000 movers placed with one update each, on 10^5 triangles: %.1f ms, memory %+.1f%%\n",
                find(reporter, "first pass of 1000"), counter(reporter, "first pass of 1000", "memory_growth_percent"));
    for (const char* size : {"10^6", "10^7"})
        std::printf("load and index %s triangles: %.1f ms, %.1f bytes per triangle\n", size,
                    find(reporter, std::string("load and index ") + size),
                    counter(reporter, std::string("load and index ") + size, "bytes_per_triangle"));
    benchmark::Shutdown();
    return 0;
}
