// The exact tests alone, each on 1024 walker steps over floor triangles
// (some met on the face, some at an edge or a corner, some missed, some
// embedded), so that branches are not learned: what one test costs, to set
// against how many a pass runs (docs/speed.md, "What is left").
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "sweep/edge_vertex_tests.h"
#include "sweep/sweep_frame.h"
#include "sweep/triangle_sweep.h"

namespace zepbench {
namespace {

constexpr int kCases = 1024;
const zep::Vec3 kRadii{0.4f, 0.9f, 0.4f};  // the walking crowd's movers

struct ExactCase {
    zep::TriangleCorners stored;
    zep::SweepFrame frame;
    zep::TriangleFrame tri;  // the triangle in the frame's ellipsoid space
};

std::vector<ExactCase> makeCases() {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<ExactCase> cases(kCases);
    zep::FrameMemo memo;
    for (ExactCase& c : cases) {
        const float x = 10.0f * unit(random), z = 10.0f * unit(random);
        c.stored = {{x, 0.1f * unit(random), z}, {x + 1.0f, 0.1f * unit(random), z}, {x, 0.1f * unit(random), z + 1.0f}};
        // A walker's step as the crowd takes it: from just above (or just
        // into) the floor, 0.1 along and 0.2 down.
        const zep::Vec3 start{x - 0.5f + 2.0f * unit(random), 0.95f + 0.1f * unit(random), z - 0.5f + 2.0f * unit(random)};
        const float heading = 6.2831853f * unit(random);
        const zep::Vec3 end{start.x + 0.1f * std::cos(heading), start.y - 0.2f, start.z + 0.1f * std::sin(heading)};
        c.frame = zep::sweepFrameFor(memo, zep::Vec3{}, start, end, kRadii, 1.0f);
        c.tri = zep::makeTriangleFrame(c.stored, 1, kRadii, c.frame.S);
    }
    return cases;
}

// A record as a sweep starts it: nothing found, nothing beyond the end taken.
zep::SweepResult freshRecord(const zep::SweepFrame& frame) {
    zep::SweepResult result;
    result.sphereRadius = frame.sphereRadius;
    result.radii = kRadii;
    result.nearestDistance = frame.sweepLength;
    return result;
}

void triangleIntoEllipsoidSpace(benchmark::State& state) {
    const std::vector<ExactCase> cases = makeCases();
    int i = 0;
    for (auto _ : state) {
        const ExactCase& c = cases[i++ & (kCases - 1)];
        benchmark::DoNotOptimize(zep::makeTriangleFrame(c.stored, 1, kRadii, c.frame.S));
    }
}

void faceTestWithItsCornersAndEdges(benchmark::State& state) {
    const std::vector<ExactCase> cases = makeCases();
    int i = 0;
    for (auto _ : state) {
        const ExactCase& c = cases[i++ & (kCases - 1)];
        zep::SweepResult result = freshRecord(c.frame);
        zep::sweepTriangle(result, c.frame, c.tri);
        benchmark::DoNotOptimize(result);
    }
}

void edgeTest(benchmark::State& state) {
    const std::vector<ExactCase> cases = makeCases();
    int i = 0;
    for (auto _ : state) {
        const ExactCase& c = cases[i++ & (kCases - 1)];
        const zep::Vec3 A = c.tri.A, B = c.tri.B;
        zep::SweepResult result = freshRecord(c.frame);
        zep::TestEdge(result, c.stored, 1, 1.0f, c.frame.sweepLength, A, B, zep::Subtract(A, B), c.frame.dir, c.frame.S,
                      c.frame.E);
        benchmark::DoNotOptimize(result);
    }
}

void cornerTest(benchmark::State& state) {
    const std::vector<ExactCase> cases = makeCases();
    int i = 0;
    for (auto _ : state) {
        const ExactCase& c = cases[i++ & (kCases - 1)];
        zep::SweepResult result = freshRecord(c.frame);
        zep::TestVertex(result, c.stored, 1, 1.0f, c.frame.sweepLength, c.tri.A, c.frame.dir, c.frame.S, c.frame.E);
        benchmark::DoNotOptimize(result);
    }
}

BENCHMARK(triangleIntoEllipsoidSpace)->Name("exact tests alone: a triangle into ellipsoid space");
BENCHMARK(faceTestWithItsCornersAndEdges)->Name("exact tests alone: a face test, its corners and edges where needed");
BENCHMARK(edgeTest)->Name("exact tests alone: an edge test");
BENCHMARK(cornerTest)->Name("exact tests alone: a corner test");

}  // namespace
}  // namespace zepbench
