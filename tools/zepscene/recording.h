// What the runner saw in each pass, for the table and the picture.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vec.h"

namespace zepscene {

struct ContactRow {
    V3 point, normal;
    int32_t object = 0;
    int32_t triangle = 0;
};

struct MoverFrame {
    int32_t object = 0;
    V3 radii;
    V3 from;     // where the sweep started
    V3 wanted;   // where the host asked to go
    V3 reached;  // where the pass left it
    std::vector<ContactRow> contacts;
};

struct PassRecord {
    int line = 0;
    int frame = 0, frameCount = 0;  // frames line: 1..frameCount; 0 for RunCollisionZEP
    std::vector<MoverFrame> movers;
};

struct MeshSnapshot {
    V3 position;
    std::vector<Triangle> triangles;  // relative to position
};

struct Recording {
    std::string script;
    std::vector<PassRecord> passes;
    std::map<int32_t, MeshSnapshot> meshes;  // as they stood at the latest pass
};

}  // namespace zepscene
