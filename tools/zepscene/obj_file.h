// Reading the triangles of a Wavefront OBJ file.
#pragma once

#include <string>
#include <vector>

#include "vec.h"

namespace zepscene {

// Every face of the file as triangles, in file order; a polygon with more
// than three corners becomes a fan around its first corner, which keeps its
// winding. Only 'v' and 'f' lines matter; other statements are skipped.
// Throws ScriptError with the OBJ file's name and line for a malformed line.
std::vector<Triangle> loadObj(const std::string& path);

}  // namespace zepscene
