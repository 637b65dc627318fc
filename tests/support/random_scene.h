// Seeded random scenes that exercise the whole pass: many meshes with shared
// edges and corners, slivers, degenerate and duplicate triangles, movers of
// every size, embedded starts, zero-length moves, moving meshes and triangles
// added between passes. Every observable result of every pass is recorded,
// bit for bit, so two runs can be compared.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zeptest {

struct SceneSize {
    int frames = 30;
    int maxMeshObjects = 6;
    int maxMovers = 8;
    // One mesh object with one mesh shape, and movers that cannot be met:
    // every ellipsoid meets at most one mesh.
    bool singleMesh = false;
    // Up to four more mesh shapes per mesh object, each added between its
    // triangles (so each holds the triangles added after it), and up to four
    // more ellipsoids per mover.
    bool manyShapes = false;
    // Also record, after each pass, every mesh's list of the contacts that
    // name it, in order (by owner and place in the owner's list).
    bool recordMeshLists = false;
    // Called with the movers' object numbers (firstMover .. firstMover +
    // movers - 1) just before and just after each pass.
    std::function<void(int firstMover, int movers, bool afterPass)> observe = nullptr;
};

// Runs the scene of `seed` on a fresh world and returns everything the host
// could read after each pass, plus every field of every contact.
std::vector<uint32_t> recordRandomScene(uint32_t seed, const SceneSize& size);

// The first place where two recordings differ, described; empty when equal.
std::string firstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);

}  // namespace zeptest
