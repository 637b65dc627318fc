#include "runner.h"

#include <cstring>

#include "format.h"
#include "host_block.h"
#include "pass_table.h"
#include "script_error.h"
#include "zepcollide.h"

namespace zepscene {

namespace {

void showBox(const char* text, const char* caption, void* context) {
    *static_cast<std::ostream*>(context) << "  [" << caption << "] " << text << '\n';
}

V3 peekPosition(int32_t object) {
    return {zepFloat(PeekObjXZEP(object)), zepFloat(PeekObjYZEP(object)), zepFloat(PeekObjZZEP(object))};
}

ContactRow readContact(int32_t object, int32_t index) {
    ContactRow row;
    row.point = {zepFloat(CollisionHit(object, index, 1)), zepFloat(CollisionHit(object, index, 2)),
                 zepFloat(CollisionHit(object, index, 3))};
    row.normal = {zepFloat(CollisionHitNorm(object, index, 1)), zepFloat(CollisionHitNorm(object, index, 2)),
                  zepFloat(CollisionHitNorm(object, index, 3))};
    row.object = CollisionObjHit(object, index);
    row.triangle = CollisionPolyHit(object, index);
    return row;
}

std::string resultText(ResultKind kind, int32_t result) {
    return kind == ResultKind::Float ? formatFloat(zepFloat(result)) : std::to_string(result);
}

}  // namespace

Runner::Runner(std::ostream& out, bool debug) : out_(out), debug_(debug) { zepSetMessageHandler(showBox, &out_); }

Runner::~Runner() { zepSetMessageHandler(nullptr, nullptr); }

void Runner::run(const Script& script) {
    recording_.script = script.file;
    for (const Step& step : script.steps) runStep(script, step);
}

void Runner::runStep(const Script& script, const Step& step) {
    switch (step.kind) {
        case StepKind::Command:
            runCommand(*step.command, step.words.data(), step.text);
            if (std::strcmp(step.command->name, "RunCollisionZEP") == 0) runPass(step.line, 0, 0);
            break;
        case StepKind::Mesh: runMesh(step); break;
        case StepKind::Frames: runFrames(script, step); break;
        case StepKind::Debug: debug_ = true; break;
    }
}

void Runner::runCommand(const CommandInfo& command, const int32_t* words, const std::string& text) {
    if (debug_) StartCollisionDebugZEP();
    const int32_t result = command.call(words);
    mirror_.apply(command, words);
    if (command.result != ResultKind::None) out_ << text << " -> " << resultText(command.result, result) << '\n';
}

void Runner::runMesh(const Step& step) {
    if (debug_) StartCollisionDebugZEP();
    const std::vector<uint32_t> block = makeHostBlock(step.triangles);
    AddMeshZEP(step.object, block.data());
    mirror_.addTriangles(step.object, step.triangles);
    out_ << step.text << " -> " << step.triangles.size() << " triangles\n";
}

void Runner::runFrames(const Script& script, const Step& step) {
    const MirrorObject* object = mirror_.find(step.object);
    if (!object) throw ScriptError(script.file, step.line, "frames: object " + std::to_string(step.object) +
                                                                " is not defined (or the system is not started)");
    const CommandInfo& update = *findCommand("UpdateObjZEP");
    const CommandInfo& pass = *findCommand("RunCollisionZEP");
    for (int frame = 1; frame <= step.frameCount; ++frame) {
        const V3 to = mirror_.find(step.object)->current + step.frameStep;
        const int32_t words[7] = {step.object, wordOf(to.x), wordOf(to.y), wordOf(to.z), 0, 0, 0};
        runCommand(update, words, "");
        runCommand(pass, words, "");
        runPass(step.line, frame, step.frameCount);
    }
}

MoverFrame Runner::readMover(int32_t number) const {
    const MirrorObject& object = *mirror_.find(number);
    MoverFrame mover{number, object.radii, object.previous, object.current, peekPosition(number), {}};
    const int32_t count = CountCollisionsZEP(number);
    for (int32_t index = 1; index <= count; ++index) mover.contacts.push_back(readContact(number, index));
    return mover;
}

// Called right after RunCollisionZEP: the mirror still holds the positions
// the pass swept between.
void Runner::runPass(int line, int frame, int frameCount) {
    PassRecord pass{line, frame, frameCount, {}};
    for (int32_t number : mirror_.activeMovers()) {
        pass.movers.push_back(readMover(number));
        mirror_.setPosition(number, pass.movers.back().reached);
    }
    snapshotMeshes();
    printPass(out_, pass);
    recording_.passes.push_back(std::move(pass));
}

void Runner::snapshotMeshes() {
    recording_.meshes.clear();
    for (const auto& [number, object] : mirror_.objects())
        if (object.mesh && object.active) recording_.meshes[number] = {object.current, object.triangles};
}

}  // namespace zepscene
