// A converted map as the walk driver sees it: the solid triangles and the
// sky's, as given to the library and in double for the checks, each with
// its grid, and the walker size that fits the map's units.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "geometry.h"
#include "tri_grid.h"
#include "vec.h"

namespace walk {

struct MapChoice {
    std::string path;        // NAME.obj; NAME-sky.obj beside it is the sky, if there
    D3 radii{15, 28, 15};    // the walkers' ellipsoid
};

struct Level {
    std::string name;
    D3 radii;
    std::vector<zepscene::Triangle> solidCorners, skyCorners;  // what the library gets
    std::vector<Tri> solid, sky;
    std::unique_ptr<TriGrid> solidGrid, skyGrid;
    D3 lo, hi;  // bounds of the solid triangles

    // The walk's speeds scale with the walker, so a small test room in
    // metres walks like a game level in its units: 28 is a player's half height.
    double scale() const { return radii.y / 28.0; }
};

// Reads NAME.obj and, if there, NAME-sky.obj. Throws on a missing or
// malformed solid file.
std::unique_ptr<Level> loadLevel(const MapChoice& choice);

// "PATH" or "PATH=RXxRYxRZ".
MapChoice parseMapChoice(const std::string& word);

}  // namespace walk
