// What the runner saw in each pass, for the table and the picture.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vec.h"

namespace zepscene {

// Where on the hit triangle the contact lies. The library does not say; the
// runner works it out from the contact point and the triangle's corners.
enum class ContactKind : uint8_t { Unknown, Face, Edge, Corner };

struct ContactRow {
    V3 point, normal;
    int32_t object = 0;
    int32_t triangle = 0;
    ContactKind kind = ContactKind::Unknown;  // only when recording
};

struct MoverFrame {
    int32_t object = 0;
    V3 radii;
    V3 from;     // where the sweep started
    V3 wanted;   // where the host asked to go
    V3 reached;  // where the pass left it
    std::vector<ContactRow> contacts;
    int32_t ground = -1;  // a character's CharacterGroundZEP after the pass; -1 for other movers
};

// How a character's ground reads in the table, the picture and the page.
inline const char* groundName(int32_t ground) {
    switch (ground) {
        case 0: return "in the air";
        case 1: return "on walkable ground";
        case 2: return "on steep ground";
        default: return "";
    }
}

struct PassRecord {
    int line = 0;
    int frame = 0, frameCount = 0;  // frames line: 1..frameCount; 0 for RunCollisionZEP
    std::vector<MoverFrame> movers;
};

struct MeshSnapshot {
    V3 position;
    std::vector<Triangle> triangles;  // relative to position
};

// An expect line's outcome or a warning, as printed, with how many passes
// had run when it came.
enum class NoteKind : uint8_t { ExpectHeld, ExpectFailed, Warning };

struct Note {
    size_t passesBefore = 0;
    NoteKind kind = NoteKind::Warning;
    std::string text;
};

struct Recording {
    std::string script;
    std::vector<PassRecord> passes;
    std::vector<Note> notes;
    std::map<int32_t, MeshSnapshot> meshes;  // as they stood at the latest pass
};

}  // namespace zepscene
