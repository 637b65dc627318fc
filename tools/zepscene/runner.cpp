#include "runner.h"

#include <cmath>
#include <cstring>

#include "contact_kind.h"
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

Triangle hitCorners(int32_t object, int32_t index) {
    V3 corner[3];
    for (int32_t k = 0; k < 3; ++k)
        corner[k] = {zepFloat(CollisionTriCorner(object, index, k + 1, 1)),
                     zepFloat(CollisionTriCorner(object, index, k + 1, 2)),
                     zepFloat(CollisionTriCorner(object, index, k + 1, 3))};
    return {corner[0], corner[1], corner[2]};
}

std::string resultText(ResultKind kind, int32_t result) {
    return kind == ResultKind::Float ? formatFloat(zepFloat(result)) : std::to_string(result);
}

}  // namespace

Runner::Runner(std::ostream& out, std::ostream& err, RunOptions options)
    : out_(out), err_(err), options_(options), mirror_(options.record) {
    zepSetMessageHandler(showBox, &out_);
    if (options_.warnings) zepSetWarningHandler(&Runner::printWarning, this);
}

Runner::~Runner() {
    zepSetMessageHandler(nullptr, nullptr);
    zepSetWarningHandler(nullptr, nullptr);
}

void Runner::printWarning(const ZepWarning* warning, void* context) {
    Runner& runner = *static_cast<Runner*>(context);
    // With --debug the box's text of every failure is printed already.
    if (runner.options_.debug && std::strcmp(warning->command, "Collision Error") == 0) return;
    std::string text = runner.file_ + ':' + std::to_string(runner.line_) + ": warning: " + warning->command;
    if (warning->hasObject) text += " (object " + std::to_string(warning->object) + ')';
    text += std::string(": ") + warning->text;
    runner.warn(text);
}

// A warning on err, and in the recording for the page.
void Runner::warn(const std::string& text) {
    out_.flush();
    err_ << text << '\n';
    note(NoteKind::Warning, text);
}

void Runner::note(NoteKind kind, const std::string& text) {
    if (options_.record) recording_.notes.push_back({recording_.passes.size(), kind, text});
}

void Runner::run(const Script& script) {
    recording_.script = script.file;
    file_ = script.file;
    for (const Step& step : script.steps) {
        line_ = step.line;
        runStep(script, step);
    }
    warnAtEnd();
}

// Mistakes of the whole script that no single command shows.
void Runner::warnAtEnd() {
    if (!options_.warnings) return;
    if (!everStarted_) {
        warn(file_ + ": warning: the script never calls StartCollisionZEP, so every command did nothing");
        return;
    }
    if (passCount_ == 0) return;
    size_t triangles = 0;
    for (const auto& [number, object] : mirror_.objects()) triangles += object.triangleCount;
    if (triangles == 0)
        warn(file_ + ": warning: no mesh holds a triangle, so the movers met nothing");
}

void Runner::runStep(const Script& script, const Step& step) {
    switch (step.kind) {
        case StepKind::Command:
            runCommand(*step.command, step.words.data(), step.text);
            if (std::strcmp(step.command->name, "RunCollisionZEP") == 0) runPass(step.line, 0, 0);
            break;
        case StepKind::Mesh: runMesh(step); break;
        case StepKind::Frames: runFrames(script, step); break;
        case StepKind::Walk: runWalk(script, step); break;
        case StepKind::Debug: options_.debug = true; break;
        case StepKind::Expect: runExpect(step); break;
    }
}

void Runner::runCommand(const CommandInfo& command, const int32_t* words, const std::string& text) {
    if (options_.debug) StartCollisionDebugZEP();
    const int32_t result = command.call(words);
    mirror_.apply(command, words);
    if (std::strcmp(command.name, "StartCollisionZEP") == 0) everStarted_ = true;
    if (command.result != ResultKind::None) out_ << text << " -> " << resultText(command.result, result) << '\n';
}

void Runner::runMesh(const Step& step) {
    if (options_.debug) StartCollisionDebugZEP();
    if (step.triangles.empty() && options_.warnings)
        warn(file_ + ':' + std::to_string(step.line) + ": warning: " + step.meshFile + " holds no triangles");
    const std::vector<uint32_t> block = makeHostBlock(step.triangles);
    AddMeshZEP(step.object, block.data());
    mirror_.addTriangles(step.object, step.triangles);
    out_ << step.text << " -> " << step.triangles.size() << " triangles\n";
}

// Calls the command as a line of its own would, then checks its result.
void Runner::runExpect(const Step& step) {
    if (options_.debug) StartCollisionDebugZEP();
    const int32_t result = step.command->call(step.words.data());
    const bool isFloat = step.command->result == ResultKind::Float;
    const double value = isFloat ? double(zepFloat(result)) : double(result);
    bool holds = false;
    std::string wanted;
    switch (step.comparison) {
        case Comparison::Near:
            holds = std::fabs(value - step.expected) <= step.tolerance;
            wanted = formatFloat(float(step.expected));
            if (step.tolerance > 0) wanted += " within " + formatFloat(float(step.tolerance));
            break;
        case Comparison::Below:
            holds = value < step.expected;
            wanted = "below " + formatFloat(float(step.expected));
            break;
        case Comparison::Above:
            holds = value > step.expected;
            wanted = "above " + formatFloat(float(step.expected));
            break;
    }
    const std::string got = resultText(step.command->result, result);
    const std::string shown = "expect " + step.callText + " -> " + got + (holds ? " ok" : " FAILED");
    out_ << shown << '\n';
    if (holds) {
        note(NoteKind::ExpectHeld, file_ + ':' + std::to_string(step.line) + ": " + shown);
        return;
    }
    ++failedExpectations_;
    out_.flush();
    const std::string failure = file_ + ':' + std::to_string(step.line) + ": expect failed: " + step.callText +
                                " gave " + got + ", expected " + wanted;
    err_ << failure << '\n';
    note(NoteKind::ExpectFailed, failure);
}

void Runner::runFrames(const Script& script, const Step& step) {
    if (!mirror_.find(step.object))
        throw ScriptError(script.file, step.line, "frames: object " + std::to_string(step.object) +
                                                      " is not defined (or the system is not started)");
    for (int frame = 1; frame <= step.frameCount; ++frame)
        movePass(step.object, mirror_.find(step.object)->current + step.frameStep, step.line, frame, step.frameCount);
}

// The README's climbing frame: a pass for the walk, then a pass for the fall.
// A fall that met a floor is taken back, so that a mover standing on a slope
// does not slide down it a little every frame; one that met nothing (or only
// a steep face) keeps its fall.
void Runner::runWalk(const Script& script, const Step& step) {
    if (!mirror_.find(step.object))
        throw ScriptError(script.file, step.line, "walk: object " + std::to_string(step.object) +
                                                      " is not defined (or the system is not started)");
    const CommandInfo& update = *findCommand("UpdateObjZEP");
    for (int frame = 1; frame <= step.frameCount; ++frame) {
        movePass(step.object, mirror_.find(step.object)->current + step.frameStep, step.line, frame, step.frameCount);
        const V3 walked = mirror_.find(step.object)->current;
        movePass(step.object, walked + V3{0, -step.fall, 0}, step.line, frame, step.frameCount);
        if (!metFloor(step.object)) continue;
        // A second UpdateObjZEP with no pass between places the mover.
        const int32_t words[7] = {step.object, wordOf(walked.x), wordOf(walked.y), wordOf(walked.z), 0, 0, 0};
        runCommand(update, words, "");
    }
}

void Runner::movePass(int32_t object, V3 to, int line, int frame, int frameCount) {
    const int32_t words[7] = {object, wordOf(to.x), wordOf(to.y), wordOf(to.z), 0, 0, 0};
    runCommand(*findCommand("UpdateObjZEP"), words, "");
    runCommand(*findCommand("RunCollisionZEP"), words, "");
    runPass(line, frame, frameCount);
}

// A floor: a contact whose normal leans less than about 45 degrees from up.
bool Runner::metFloor(int32_t object) const {
    constexpr float kFloorNormalY = 0.7f;
    const int32_t count = CountCollisionsZEP(object);
    for (int32_t index = 1; index <= count; ++index)
        if (zepFloat(CollisionHitNorm(object, index, 2)) > kFloorNormalY) return true;
    return false;
}

MoverFrame Runner::readMover(int32_t number) const {
    const MirrorObject& object = *mirror_.find(number);
    MoverFrame mover{number, object.radii, object.previous, object.current, peekPosition(number), {}};
    if (object.character) mover.ground = CharacterGroundZEP(number);
    const int32_t count = CountCollisionsZEP(number);
    for (int32_t index = 1; index <= count; ++index) {
        mover.contacts.push_back(readContact(number, index));
        if (options_.record) mover.contacts.back().kind = classifyContact(mover.contacts.back().point,
                                                                          hitCorners(number, index));
    }
    return mover;
}

// Called right after RunCollisionZEP: the mirror still holds the positions
// the pass swept between.
void Runner::runPass(int line, int frame, int frameCount) {
    ++passCount_;
    PassRecord pass{line, frame, frameCount, {}};
    for (int32_t number : mirror_.activeMovers()) {
        pass.movers.push_back(readMover(number));
        mirror_.setPosition(number, pass.movers.back().reached);
    }
    printPass(out_, pass);
    if (!options_.record) return;
    snapshotMeshes();
    recording_.passes.push_back(std::move(pass));
}

// The meshes as they stand, copied again only when they changed.
void Runner::snapshotMeshes() {
    if (mirror_.meshVersion() == snapshotVersion_) return;
    snapshotVersion_ = mirror_.meshVersion();
    recording_.meshes.clear();
    for (const auto& [number, object] : mirror_.objects())
        if (object.mesh && object.active) recording_.meshes[number] = {object.current, object.triangles};
}

}  // namespace zepscene
