// Runs a checked script against the library, printing what the host would
// see and recording each pass.
#pragma once

#include <ostream>
#include <string>

#include "recording.h"
#include "script.h"
#include "world_mirror.h"
#include "zepcollide.h"

namespace zepscene {

struct RunOptions {
    bool debug = false;     // re-arm the error box before every command from the start
    bool warnings = true;   // print the library's warnings (and the runner's own) on err
    bool record = false;    // keep the meshes and passes for a picture
};

class Runner {
public:
    // out: results and tables; err: warnings and failed expect lines.
    Runner(std::ostream& out, std::ostream& err, RunOptions options);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Throws ScriptError for a step that cannot run (frames on an undefined object).
    void run(const Script& script);
    const Recording& recording() const { return recording_; }
    // expect lines that did not hold.
    int failedExpectations() const { return failedExpectations_; }

private:
    void runStep(const Script& script, const Step& step);
    void runCommand(const CommandInfo& command, const int32_t* words, const std::string& text);
    void runMesh(const Step& step);
    void runFrames(const Script& script, const Step& step);
    void runWalk(const Script& script, const Step& step);
    void movePass(int32_t object, V3 to, int line, int frame, int frameCount);
    bool metFloor(int32_t object) const;
    void runExpect(const Step& step);
    void runPass(int line, int frame, int frameCount);
    MoverFrame readMover(int32_t object) const;
    void snapshotMeshes();
    void warnAtEnd();
    void warn(const std::string& text);
    void note(NoteKind kind, const std::string& text);
    static void printWarning(const ZepWarning* warning, void* context);

    std::ostream& out_;
    std::ostream& err_;
    RunOptions options_;
    WorldMirror mirror_;
    Recording recording_;
    std::string file_;
    int line_ = 0;  // of the step running now
    int failedExpectations_ = 0;
    int passCount_ = 0;
    bool everStarted_ = false;
    uint64_t snapshotVersion_ = ~uint64_t(0);  // mirror's mesh version the snapshot shows
};

}  // namespace zepscene
