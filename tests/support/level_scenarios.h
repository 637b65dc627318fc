// Levels built from several mesh objects, walked by movers as a game moves
// them (each frame a step toward a goal plus gravity, one pass), and what went
// wrong on the way: falls, pass-throughs, penetration, overlaps left after a
// pass, frames stuck for no reason, and how far a level split into objects
// strays from the same triangles in one mesh.
//
// Only the exported commands are used, so the same code measures any build of
// the library: the test suite asserts on it, and `make scenarios` prints it
// as a table (tools/scenarios).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace zeplevels {

struct V3 {
    float x, y, z;
};
using Triangle = std::array<V3, 3>;

// One mesh object. Triangles are in level coordinates; `origin` is where the
// object stands when the level places each object at its own position (the
// triangles are then stored relative to it).
struct Piece {
    std::vector<Triangle> triangles;
    V3 origin{0, 0, 0};
};

// A convex region no centre may enter: inside when n·p < d for every plane
// (n pointing out of the region).
struct Plane {
    V3 n;
    float d;
};
using Solid = std::vector<Plane>;

struct Level {
    std::string name;
    std::vector<Piece> pieces;  // in the first object order
    std::vector<Solid> solids;
    float lowestFloor = 0;      // a centre below this has fallen through everything
    float halfWidth = 12;       // the ground ends at |x|, |z| = halfWidth
    std::vector<V3> starts;     // where movers appear
    std::vector<V3> goals;      // horizontal targets, visited in turn (y unused)
    float gravity = 0.3f;       // downward part of each frame's move
    V3 offset{0, 0, 0};         // the whole level is moved here
    // Also run with every object at its own origin instead of one shared
    // position (crates and steps placed where they stand).
    bool ownPositions = false;
    // How far, in radii, a pass may leave a mover reaching into a triangle
    // where the level accepts a dip; otherwise no further than a rounding
    // error (Options::overlapEpsilon) into one it touched.
    double allowedDip = 0;
};

const std::vector<Level>& levels();

struct Options {
    int frames = 240;
    int framesPerGoal = 40;
    std::vector<float> speeds{0.1f, 0.4f, 1.5f};
    // A pass ends overlapping a touched triangle when it reaches into it by
    // more than this, in radii.
    double overlapEpsilon = 1e-3;
};

// Everything measured on one level over all its layouts (the split level in
// both object orders, each against its merged mesh, and the split at own
// positions where the level asks for it).
struct Report {
    std::string level;
    int runs = 0;              // one mover through one layout
    long moverFrames = 0;
    long contacts = 0;
    int falls = 0;             // runs whose centre went below lowestFloor or off the ground
    int passThroughs = 0;      // runs whose centre entered a solid
    double deepest = 0;        // deepest reach into any triangle, radii along its normal
    long overlapPasses = 0;    // passes ending inside a triangle they touched
    double deepestOverlap = 0;
    long stuckFrames = 0;
    int comparedRuns = 0;      // split runs compared with their merged run
    int bitEqualRuns = 0;
    int sharedRuns = 0;        // of those, with every object at one position
    int sharedMismatches = 0;  // ... that differ from the merged run
    double maxDifference = 0;  // largest position difference, split against merged
    std::vector<std::string> notes;  // the first frames of each kind of fault
};

Report runLevel(const Level& level, const Options& options = {});

// The layouts runLevel goes through, by name ("merged", "objects", "own
// positions", each also "... reversed").
std::vector<std::string> layoutNames(const Level& level);

// One of them alone; a split layout is compared with the merged layout of
// its object order, whose own faults are left out.
Report runLevelLayout(const Level& level, const std::string& layout, const Options& options = {});

std::string tableHeader();
std::string tableRow(const Report& report);

}  // namespace zeplevels
