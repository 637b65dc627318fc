// What the host side knows about the world it built: which objects exist,
// which move, which hold meshes and where. The runner keeps it in step with
// every command so it can read the library back without tripping its checks
// (a failing query would use up the armed error box).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "command_table.h"
#include "vec.h"

namespace zepscene {

struct MirrorObject {
    bool mover = false;  // has an ellipsoid shape
    bool mesh = false;   // has a mesh shape
    bool active = false;
    bool character = false;  // made a character by SetCharacterZEP
    V3 radii{1, 1, 1};
    V3 previous, current;  // as the pass will sweep them
    std::vector<Triangle> triangles;  // relative to the object's position, if kept
    size_t triangleCount = 0;         // kept or not
};

class WorldMirror {
public:
    // keepTriangles: hold every mesh's triangles (for the picture), not just their count.
    explicit WorldMirror(bool keepTriangles) : keepTriangles_(keepTriangles) {}

    // Call after the library ran the command with these words.
    void apply(const CommandInfo& command, const int32_t* words);
    // After AddMeshZEP with these triangles.
    void addTriangles(int32_t object, const std::vector<Triangle>& triangles);
    // After a pass, with the corrected position read from the library.
    void setPosition(int32_t object, V3 position);

    // Null when the library would refuse the number (not started, out of range, undefined).
    const MirrorObject* find(int32_t object) const;
    // Active objects with an ellipsoid, by number.
    std::vector<int32_t> activeMovers() const;
    const std::map<int32_t, MirrorObject>& objects() const { return objects_; }
    // Changes whenever a mesh, its place or its activity may have changed.
    uint64_t meshVersion() const { return meshVersion_; }

private:
    MirrorObject* valid(int32_t object);
    void applyShapeCommand(const CommandInfo& command, const int32_t* words);
    void applyObjectCommand(const CommandInfo& command, const int32_t* words);

    bool keepTriangles_;
    uint64_t meshVersion_ = 0;
    bool started_ = false;
    std::map<int32_t, MirrorObject> objects_;
};

}  // namespace zepscene
