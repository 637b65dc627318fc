// Speed of the indexed paths against the plain reference path, scene by scene,
// in the same run. Ends with one summary line per scene:
//   scene: indexed X ms, linear Y ms, ratio Z
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "base/reference_path.h"
#include "levels.h"
#include "zepcollide.h"

namespace zepbench {
namespace {

constexpr int kMoverBase = 1;
constexpr int kLevelObject = 5000;

struct Scene {
    std::string name;
    std::function<void()> build;  // on a started, empty world
    int movers;
    int64_t indexedIterations;
    int64_t linearIterations;
};

void freshWorld() {
    StopCollisionZEP();
    StartCollisionZEP();
    SetCollisionZEP(1, 2, 0, 0, 0);
}

std::vector<Scene> scenes() {
    std::vector<Scene> list;
    const int64_t sizes[] = {1000, 10000, 100000, 1000000};
    const int64_t linearRuns[] = {200, 40, 6, 2};
    for (int i = 0; i < 4; ++i) {
        const int64_t triangles = sizes[i];
        list.push_back({"one mover on 10^" + std::to_string(3 + i) + " triangles",
                        [triangles] { placeMovers(kMoverBase, 1, loadTerrain(kLevelObject, triangles)); }, 1, 3000,
                        linearRuns[i]});
    }
    list.push_back({"1000 movers on 10^5 triangles",
                    [] { placeMovers(kMoverBase, 1000, loadTerrain(kLevelObject, 100000)); }, 1000, 60, 1});
    list.push_back({"5000 objects: 4000 movers, 1000 boxes",
                    [] {
                        placeBoxes(4001, 1000, 200);
                        placeMovers(kMoverBase, 4000, 200);
                    },
                    4000, 60, 2});
    return list;
}

void runFrames(const Scene& scene, benchmark::State& state, bool linear) {
    freshWorld();
    scene.build();
    zep::linearReference = linear;
    // The first pass builds the mesh index: that is loading work, measured
    // on its own below, not a pass.
    walkFrame(kMoverBase, scene.movers, 0);
    int frame = 1;
    for (auto _ : state) walkFrame(kMoverBase, scene.movers, frame++);
    zep::linearReference = false;
    StopCollisionZEP();
}

// The same frames through both paths must leave the same world.
bool identical(const Scene& scene, int frames) {
    std::vector<uint32_t> results[2];
    for (int linear = 0; linear < 2; ++linear) {
        freshWorld();
        scene.build();
        zep::linearReference = linear == 1;
        for (int frame = 0; frame < frames; ++frame) walkFrame(kMoverBase, scene.movers, frame);
        results[linear] = snapshot(kMoverBase, scene.movers);
        zep::linearReference = false;
    }
    StopCollisionZEP();
    return results[0] == results[1];
}

// Loading and indexing a million triangles; reports the heap bytes per
// triangle that the records and the index hold.
void loadAndIndex(benchmark::State& state) {
    const int64_t triangles = 1000000;
    double bytesPerTriangle = 0;
    for (auto _ : state) {
        state.PauseTiming();
        StopCollisionZEP();
        freshWorld();
        placeMovers(kMoverBase, 1, 100);
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        loadTerrain(kLevelObject, triangles);
        RunCollisionZEP();  // the first sweep builds the index
        state.PauseTiming();
        bytesPerTriangle = double(mallinfo2().uordblks - before) / double(triangles);
        state.ResumeTiming();
    }
    state.counters["bytes_per_triangle"] = bytesPerTriangle;
    StopCollisionZEP();
}

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> milliseconds;
    std::map<std::string, double> counters;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
            for (const auto& [name, counter] : run.counters) counters[name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

double find(const SummaryReporter& reporter, const std::string& prefix) {
    for (const auto& [name, ms] : reporter.milliseconds)
        if (name.rfind(prefix, 0) == 0) return ms;
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
        benchmark::RegisterBenchmark((scene.name + "/linear").c_str(),
                                     [&scene](benchmark::State& s) { runFrames(scene, s, true); })
            ->Iterations(scene.linearIterations)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("load and index 10^6 triangles", loadAndIndex)->Iterations(3)->Unit(benchmark::kMillisecond);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nSummary (per pass; single thread):\n");
    for (const Scene& scene : all) {
        const double indexed = find(reporter, scene.name + "/indexed");
        const double linear = find(reporter, scene.name + "/linear");
        const bool same = identical(scene, scene.movers > 1 ? 3 : 20);
        std::printf("%s: indexed %.4f ms, linear %.4f ms, ratio %.1f%s\n", scene.name.c_str(), indexed, linear,
                    indexed > 0 ? linear / indexed : 0.0, same ? "" : "  RESULTS DIFFER");
    }
    std::printf("load and index 10^6 triangles: %.1f ms, %.1f bytes per triangle\n",
                find(reporter, "load and index"), reporter.counters["bytes_per_triangle"]);
    benchmark::Shutdown();
    return 0;
}
