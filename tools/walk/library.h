// The driver's side of the public commands: placing meshes and walkers, and
// reading back a pass's result, through include/zepcollide.h only.
#pragma once

#include <vector>

#include "geometry.h"
#include "vec.h"

namespace walk {

// Walkers are type 1 and slide against meshes of type 2.
inline constexpr int kWalkerType = 1;
inline constexpr int kMeshType = 2;

struct Contact {
    D3 normal;  // from the contact point to the walker's centre
    D3 centre;  // where the centre was when the contact was made
    int object = 0;
    int triangle = 0;  // CollisionPolyHit's number
};

// Starts the library (in debug mode, so a failed command is reported) with the one rule the driver needs, and routes its error
// box and warnings to counters (see errorCount()).
void startLibrary();
int errorCount();
int warningCount();

// A mesh object at the origin holding the triangles (in blocks through
// AddMeshZEP, and the first few by AddMeshTri, so both ways are used).
void placeMesh(int object, const std::vector<zepscene::Triangle>& triangles);
void placeWalker(int object, D3 radii, D3 at);
void moveTo(int object, D3 target);
D3 positionOf(int object);
std::vector<Contact> contactsOf(int object);

}  // namespace walk
