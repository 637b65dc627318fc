// A scene script, read and checked whole before anything runs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "command_table.h"
#include "vec.h"

namespace zepscene {

enum class StepKind {
    Command,  // one library command with its words
    Mesh,     // mesh OBJECT FILE: triangles through AddMeshZEP
    Frames,   // frames N dx dy dz OBJECT: N times move by the step and run a pass
    Walk,     // walk N dx dy dz FALL OBJECT: N frames of a walk pass and a fall pass
    Debug,    // debug: show the error box text of every failing command from here on
    Expect,   // expect COMMAND ARGS... VALUE [TOLERANCE] | < VALUE | > VALUE: check a result
};

// What an expect line asks of a result: within tolerance of value, below it
// or above it.
enum class Comparison { Near, Below, Above };

struct Step {
    StepKind kind = StepKind::Command;
    int line = 0;
    std::string text;  // the line's words, for echoing

    const CommandInfo* command = nullptr;
    std::array<int32_t, 10> words{};  // arguments as 32-bit words; ignored ones 0 unless given

    int32_t object = 0;               // mesh, frames
    std::string meshFile;             // mesh: as written in the script
    std::vector<Triangle> triangles;  // mesh: loaded while reading the script
    int32_t frameCount = 0;           // frames
    V3 frameStep;                     // frames, walk
    float fall = 0;                   // walk: how far down y the fall pass moves

    Comparison comparison = Comparison::Near;  // expect
    double expected = 0, tolerance = 0;        // expect
    std::string callText;                      // expect: the command and its arguments
};

struct Script {
    std::string file;
    std::vector<Step> steps;
};

// Reads the script at path; mesh files are found relative to its folder.
// Throws ScriptError for the first fault: unknown command, wrong argument
// count, bad number, unreadable mesh file.
Script readScript(const std::string& path);

// The same from text already in memory; file names the script in messages.
Script parseScript(const std::string& text, const std::string& file);

}  // namespace zepscene
