// Runs a checked script against the library, printing what the host would
// see and recording each pass.
#pragma once

#include <ostream>

#include "recording.h"
#include "script.h"
#include "world_mirror.h"

namespace zepscene {

class Runner {
public:
    // debug: re-arm the error box before every command from the start.
    Runner(std::ostream& out, bool debug);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Throws ScriptError for a step that cannot run (frames on an undefined object).
    void run(const Script& script);
    const Recording& recording() const { return recording_; }

private:
    void runStep(const Script& script, const Step& step);
    void runCommand(const CommandInfo& command, const int32_t* words, const std::string& text);
    void runMesh(const Step& step);
    void runFrames(const Script& script, const Step& step);
    void runPass(int line, int frame, int frameCount);
    MoverFrame readMover(int32_t object) const;
    void snapshotMeshes();

    std::ostream& out_;
    bool debug_;
    WorldMirror mirror_;
    Recording recording_;
};

}  // namespace zepscene
