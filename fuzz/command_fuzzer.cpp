// libFuzzer target: every input is a sequence of commands with hostile
// arguments, run on a fresh world. After every command the world must still
// be consistent, after every pass the pass's own rules must hold, and after
// the final StopCollisionZEP no record may be left alive.
//
// Every input then runs a second time on the plain reference path (every
// pair, every triangle), and everything a host could observe must be the
// same to the bit: the indexes may only ever save work.
//
// That second run is the reference, not the code under test, and walking
// every triangle under the sanitizers cost as much as the whole indexed run.
// So this file is built twice: into the fuzzer, with the sanitized library,
// and (with ZEP_FUZZ_PLAIN_COPY) into a shared library of its own with a
// copy of the library built with the same float flags but no sanitizers and
// no coverage, which exports zepfuzzPlainRun alone. Most plain runs go
// there; one small input in kSanitizedPlainEvery, and the first of a
// process, run the plain path on the sanitized library instead, so the
// reference path stays under the sanitizers too, and a saved input replayed
// alone always does.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
#include "api/command_entry.h"
#include "api/diagnostics.h"
#include "api/errors.h"
#include "base/allocation.h"
#include "generators.h"
#include "input_reader.h"
#include "mesh_block.h"
#include "support/invariants.h"
#include "support/mesh_block.h"
#include "support/pass_threads.h"
#include "support/plain_path.h"
#include "trace.h"
#include "work_stats.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"
#include "zepcollide.h"

namespace zepfuzz {

namespace {

// What one input may make, so that a pass stays short on the plain path
// too: triangles stored (each mesh of a body holds its own copy), objects
// made, and the plain path's pass work, ellipsoids times triangles summed
// over the passes. An input that has spent its work budget ends there. The
// work budget allows three passes of a mover over the largest world, or
// sixty over a mesh of a thousand triangles, which is past where the sweep
// caches and the tree rebuilds come in; it holds the far_tiny seed's crowd
// pass (17 movers over 3,200 triangles, after a pass of one), 57,600 in
// all. Down to that the seeds, the regressions and the kept corpus reach
// every line and branch of the library they reached at 100,000, and the
// kept corpus runs in a twenty-fifth less time; below it the seeds lose
// lines.
struct Budgets {
    int64_t triangles, objects, passWork;
};
constexpr Budgets kEveryRun{16384, 1024, 60'000};
// `make fuzz-long` (ZEP_FUZZ_WORLDS=large): levels of up to 10^5 triangles
// and every object number, with pass work for a few passes over them.
constexpr Budgets kLongRun{100'000, 5001, 2'000'000};
const Budgets budgets = [] {
    const char* worlds = std::getenv("ZEP_FUZZ_WORLDS");
    return worlds && !std::strcmp(worlds, "large") ? kLongRun : kEveryRun;
}();
constexpr int kMaxShapesPerBody = 6;
// A full scan of every table slot after this many changing commands; the
// commands between are checked in proportion to the live records.
constexpr int kFullScanEvery = 256;

// The input's command byte picks one of 32 operations (its top three bits
// are free for mutations to flip). Every value does something: a start
// while started, the one command that can do nothing, sits behind the
// system operation's argument instead.
enum Op : uint8_t {
    kMove, kRunPass, kFrames, kNewObject, kAddShape, kActivate, kSetRadius, kAddTriangle,
    kGrid, kMoveAgain, kRunPassAgain, kNewObjectAgain, kMeshBlock, kDeactivate, kFree, kRule,
    kPeekPosition, kCountContacts, kContactQuery, kContactQueryAgain, kStackWalk, kCheckShape, kCrowd, kGridAgain,
    kSystem, kAllocations, kFramesAgain, kRuleAgain, kAddShapeAgain, kMoveThird, kActivateAgain, kHandler,
    kOpCount
};
static_assert(kOpCount == 32);

const char* opName(int op) {
    static constexpr const char* kNames[kOpCount] = {
        "move", "pass", "frames", "new object", "add shape", "activate", "radius", "triangle",
        "grid", "move", "pass", "new object", "mesh block", "deactivate", "free", "rule",
        "peek position", "count", "contact query", "contact query", "stack walk", "check shape", "crowd", "grid",
        "system", "allocations", "frames", "rule", "add shape", "move", "activate", "handler"};
    return op >= 0 && op < kOpCount ? kNames[op] : "?";
}

bool changesWorld(int op) {
    switch (op) {
        case kPeekPosition: case kCountContacts: case kContactQuery: case kContactQueryAgain: case kCheckShape:
            return false;
        default: return true;
    }
}

// The state of one run of one input.
struct Run {
    Run(const uint8_t* data, size_t size, Trace& trace, bool checking) : in(data, size), trace(trace), checking(checking) {}

    InputReader in;
    Trace& trace;
    bool checking;  // the world checks run (on the indexed run only: the plain one is compared instead)
    int64_t triangles = 0;
    int64_t objects = 0;
    int64_t passWork = 0;
    bool spent = false;  // a budget ran out: the input ends here
    std::vector<int32_t> touched;  // object numbers the current command named
    int changesSinceFullScan = 0;

    int32_t object() {
        const int32_t n = in.objectNumber();
        touched.push_back(n);
        return n;
    }
};

Trace* recording = nullptr;

// ZEP_FUZZ_TRACE=1 prints each command and each pass's contacts, to read
// what a saved input does.
const bool tracing = std::getenv("ZEP_FUZZ_TRACE") != nullptr;

void tracePass() {
    if (!tracing) return;
    for (const zep::CollisionBody* body = zep::world().bodyListHead; body; body = body->next) {
        const zep::Vec3& p = body->currentPosition;
        std::fprintf(stderr, "  %s object %d at (%g, %g, %g), %d contacts\n", zeptest::onPlainPath() ? "plain" : "indexed",
                     body->objectNumber, p.x, p.y, p.z, zep::countContacts(body));
    }
}

void onMessage(const char* text, const char* caption, void*) {
    if (recording) recording->message(text, caption);
}

// The host's warning handler as the input sets it: none, one that counts
// what the library says of memory running out, or one that also calls back
// into the library on every warning, with one command the input chose (the
// library lets the reading ones in and refuses the rest). Every allocation
// refused under a command must be said, and nothing else said so.
struct HostHandler {
    int callback = -1;  // which command; -1: none
    int32_t object = 0;
    int32_t index = 0;
    int64_t outOfMemorySaid = 0;
};
HostHandler hostHandler;

// What a handler reads is not traced: the two paths may rightly warn a
// different number of times (the plain path has no index for the checks
// for movers gone through a triangle from behind to search), so a handler
// may run more often on one. Its calls are checked for what they do to the
// library instead.
volatile int32_t handlerRead = 0;
void record(int32_t word) { handlerRead = word; }
void recordFloat(int32_t bits) { handlerRead = bits; }

void callBack(const HostHandler& h) {
    const int32_t n = h.object, i = h.index;
    switch (h.callback % 16) {
        case 0: recordFloat(PeekObjXZEP(n)); break;
        case 1: recordFloat(PeekObjYZEP(n)); break;
        case 2: record(CountCollisionsZEP(n)); break;
        case 3: recordFloat(CollisionHit(n, i, 2)); break;
        case 4: recordFloat(CollisionTriCorner(n, i, 1 + i % 3, 1)); break;
        case 5: record(CollisionObjHit(n, i)); break;
        case 6: record(CheckShapeZEP(n, i)); break;
        case 7: recordFloat(zepCollisionCenter(n, i, 3)); break;
        case 8: FreeObjZEP(n); break;
        case 9: NewCollObjZEP(n, i); break;
        case 10: StopCollisionZEP(); break;
        case 11: RunCollisionZEP(); break;
        case 12: UpdateObjZEP(n, 0, -1e30f, 0, 0, 0, 0); break;
        case 13: AddMeshTri(n, 0, 0, 0, 0, 0, 1, 1, 0, 0); break;
        case 14: DeActivateObjZEP(n); break;
        default: StartCollisionDebugZEP(); break;
    }
}

void onWarning(const ZepWarning* w, void*) {
    if (tracing) std::fprintf(stderr, "  %s warning %s: %s\n", zeptest::onPlainPath() ? "plain" : "indexed", w->command, w->text);
    if (std::strncmp(w->text, "out of memory: ", 15) == 0) ++hostHandler.outOfMemorySaid;
    if (hostHandler.callback >= 0) callBack(hostHandler);
}

void setHandler(Run& run);

void stopIfBroken(const std::vector<std::string>& violations, const char* when) {
    if (violations.empty()) return;
    std::fprintf(stderr, "world broken %s:\n%s", when, zeptest::describe(violations).c_str());
    std::abort();
}

zep::CollisionBody* bodyOf(int32_t number) {
    if (!zep::objectNumberInRange(number) || !zep::objectAt(zep::world(), number)) return nullptr;
    return zep::objectAt(zep::world(), number)->body;
}

int meshesOf(const zep::CollisionBody* body) {
    int meshes = 0;
    for (auto* shape = body ? body->shapesHead : nullptr; shape; shape = shape->next)
        meshes += shape->kind == zep::kShapeMesh;
    return meshes;
}

int shapesOf(const zep::CollisionBody* body) {
    int shapes = 0;
    for (auto* shape = body ? body->shapesHead : nullptr; shape; shape = shape->next) ++shapes;
    return shapes;
}

// Triangles the object can still take, one per mesh it has, within budget.
int64_t triangleRoom(Run& run, int32_t number) {
    const int meshes = meshesOf(bodyOf(number));
    const int64_t left = std::max<int64_t>(0, budgets.triangles - run.triangles);
    return meshes ? left / meshes : left;
}

void spendTriangles(Run& run, int32_t number, int64_t triangles) {
    run.triangles += triangles * std::max(1, meshesOf(bodyOf(number)));
}

// The plain path's work in the next pass: every active ellipsoid against
// every triangle of every active body.
int64_t passWork() {
    int64_t ellipsoids = 0, triangles = 0;
    for (const zep::CollisionBody* body = zep::world().bodyListHead; body; body = body->next) {
        if (!body->active) continue;
        for (zep::CollisionShape* shape = body->shapesHead; shape; shape = shape->next) {
            if (const zep::MeshShape* mesh = zep::asMesh(shape)) triangles += mesh->triangles.count;
            ellipsoids += shape->kind == zep::kShapeEllipsoid;
        }
    }
    return ellipsoids * triangles;
}

void runPass(Run& run) {
    run.passWork += passWork();
    if (run.passWork > budgets.passWork) {
        run.spent = true;
        return;
    }
    if (run.checking)
        measurePass([] { RunCollisionZEP(); });
    else
        RunCollisionZEP();
    run.trace.pass();
    tracePass();
    if (run.checking) stopIfBroken(zeptest::passViolations(), "after a pass");
}

// Results are read but not judged here: the plain run judges them.
void answer(Run& run, int32_t value) { run.trace.word(uint32_t(value)); }
// A query whose answer is a float's bits.
void answerFloat(Run& run, int32_t bits) { run.trace.floatWord(bits); }

void addTriangle(Run& run) {
    const int32_t n = run.object();
    float c[9];
    for (float& v : c) v = run.in.floatArg();
    if (triangleRoom(run, n) < 1) return;
    spendTriangles(run, n, 1);
    AddMeshTri(n, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8]);
}

void addMeshBlock(Run& run) {
    const int32_t n = run.object();
    const int64_t room = std::min<int64_t>(triangleRoom(run, n), INT32_MAX / 4);
    const std::vector<uint8_t> block = carveMeshBlock(run.in, int32_t(room));
    int32_t vertices;
    std::memcpy(&vertices, &block[8], 4);
    spendTriangles(run, n, std::max(0, vertices) / 3);
    AddMeshZEP(n, block.data());
}

void addGrid(Run& run) {
    const int32_t n = run.object();
    const Grid grid = readGrid(run.in);
    static std::vector<float> corners;
    const int64_t wanted = std::min(grid.triangles(), triangleRoom(run, n));
    if (!grid.style.oneByOne() && !meshesOf(bodyOf(n))) {
        // Without a mesh shape the library never reads a block: it gets the
        // header alone, in an allocation of its own so that a read past it
        // fails under the sanitizers, and no corners are made for nothing
        // to keep.
        const std::vector<uint8_t> header = zeptest::meshBlock(12, int32_t(wanted * 3), {}, {.unread = 0, .room = 0});
        AddMeshZEP(n, header.data());
        return;
    }
    gridTriangles(grid, wanted, corners);
    const int64_t made = int64_t(corners.size() / 9);
    spendTriangles(run, n, made);
    if (grid.style.oneByOne()) {
        for (size_t t = 0; t < corners.size(); t += 9) {
            const float* c = &corners[t];
            AddMeshTri(n, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8]);
        }
    } else {
        const std::vector<uint8_t> block = zeptest::meshBlock(12, int32_t(corners.size() / 3), corners, {.unread = 0});
        AddMeshZEP(n, block.data());
    }
}

void addShape(Run& run) {
    const int32_t n = run.object();
    const int32_t kind = run.in.type();
    if (shapesOf(bodyOf(n)) < kMaxShapesPerBody) AddObjShapeZEP(n, kind);
}

void newObject(Run& run) {
    const int32_t n = run.object();
    const int32_t type = run.in.type();
    if (++run.objects > budgets.objects) {
        run.spent = true;
        return;
    }
    NewCollObjZEP(n, type);
}

// Radii as the host gives them, or from lengths where rounding decides:
// tiny, huge, and flat (one axis far shorter than the others).
void setRadius(Run& run) {
    const int32_t n = run.object();
    const uint8_t mode = run.in.byte();
    float r[3];
    if (mode < 0x80) {
        for (float& v : r) v = run.in.floatArg();
    } else {
        const float length = run.in.length();
        for (float& v : r) v = length;
        if (mode & 1) r[mode >> 1 & 1 ? 1 : 0] = length * run.in.length() * 1e-3f;  // flat
        if (mode & 4) r[2] = run.in.length();
    }
    SetObjRadiusZEP(n, r[0], r[1], r[2]);
}

void move(Run& run) {
    const int32_t n = run.object();
    const uint8_t mode = run.in.byte();
    float p[3];
    if (mode < 0xC0) {
        for (float& v : p) v = run.in.floatArg();
        // Half of the moves go from where the object stands.
        if (mode & 1)
            if (const zep::CollisionBody* body = bodyOf(n)) {
                p[0] += body->currentPosition.x, p[1] += body->currentPosition.y, p[2] += body->currentPosition.z;
            }
    } else {
        for (float& v : p) v = run.in.offset();
    }
    UpdateObjZEP(n, p[0], p[1], p[2], int32_t(run.in.word()), -1, 0);
}

// A crowd of bodies numbered from a base: movers with one radius, or small
// square meshes, laid on a square grid.
void crowd(Run& run) {
    const int32_t count = run.in.count(256);
    const int32_t base = 8 + int32_t(run.in.byte() & 15) * 256;
    const uint8_t kind = run.in.byte();
    const int32_t type = run.in.type();
    float origin[3];
    for (float& v : origin) v = run.in.offset();
    const float spacing = run.in.length();
    const float radius = run.in.length();
    const float flat = kind & 8 ? radius * 1e-3f : radius;
    const bool meshes = kind & 1;
    int32_t side = 1;
    while (side * side < count) ++side;
    for (int32_t i = 0; i < count; ++i) {
        if (++run.objects > budgets.objects) {
            run.spent = true;
            return;
        }
        const int32_t n = base + i;
        run.touched.push_back(n);
        NewCollObjZEP(n, type);
        const float x = origin[0] + float(i % side) * spacing, z = origin[2] + float(i / side) * spacing;
        if (meshes) {
            AddObjShapeZEP(n, ZEP_SHAPE_MESH);
            if (triangleRoom(run, n) >= 2) {
                spendTriangles(run, n, 2);
                const float h = spacing * 0.45f;
                AddMeshTri(n, -h, 0, -h, -h, 0, h, h, 0, h);
                AddMeshTri(n, -h, 0, -h, h, 0, h, h, 0, -h);
            }
        } else {
            AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
            if (kind & 2) AddObjShapeZEP(n, ZEP_SHAPE_ELLIPSOID);
            SetObjRadiusZEP(n, radius, flat, radius);
            // Characters, with a step and a snap of half the radius.
            if (kind & 16) SetCharacterZEP(n, float(kind >> 5) * 12.0f, radius * 0.5f, radius * 0.5f);
        }
        // Twice, so the first pass does not sweep in from the origin.
        UpdateObjZEP(n, x, origin[1], z, 0, 0, 0);
        UpdateObjZEP(n, x, origin[1], z, 0, 0, 0);
        if (!(kind & 4)) ActivateObjZEP(n);
    }
}

// Frames of a game loop: every active mover (and with the mode bit every
// mesh too) steps by one velocity with a little spread, then a pass runs.
void frames(Run& run) {
    const int32_t count = run.in.count(8);
    const uint8_t mode = run.in.byte();
    float velocity[3];
    for (float& v : velocity) v = run.in.floatArg();
    const float spread = float(mode >> 2) / 16.0f;
    for (int32_t frame = 0; frame < count && !run.spent; ++frame) {
        for (const zep::CollisionBody* body = zep::world().bodyListHead; body; body = body->next) {
            if (!body->active) continue;
            bool mover = false;
            for (auto* shape = body->shapesHead; shape; shape = shape->next) mover |= shape->kind == zep::kShapeEllipsoid;
            if (!mover && !(mode & 1)) continue;
            const zep::Vec3 p = body->currentPosition;
            const uint32_t n = uint32_t(body->objectNumber);
            UpdateObjZEP(body->objectNumber, p.x + velocity[0] + spread * bump(n, frame, 1),
                         p.y + velocity[1] + (mode & 2 ? spread * bump(n, frame, 2) : 0.0f),
                         p.z + velocity[2] + spread * bump(n, frame, 3), 0, 0, 0);
        }
        runPass(run);
    }
}

void contactQuery(Run& run) {
    const int32_t n = run.object();
    const uint8_t which = run.in.byte();
    InputReader& in = run.in;
    switch (which % 5) {
        case 0: { const int32_t i = in.index(); answerFloat(run, CollisionHit(n, i, in.index())); break; }
        case 1: { const int32_t i = in.index(); answerFloat(run, CollisionHitNorm(n, i, in.index())); break; }
        case 2: answer(run, CollisionObjHit(n, in.index())); break;
        case 3: answer(run, CollisionPolyHit(n, in.index())); break;
        default: {
            const int32_t i = in.index();
            const int32_t corner = in.index();
            answerFloat(run, CollisionTriCorner(n, i, corner, in.index()));
        }
    }
}

// Stops, starts, or both; a start while started is the one choice that
// does nothing, as the host may well do.
void system(Run& run) {
    const uint8_t mode = run.in.byte();
    switch (mode & 7) {
        case 0: case 1: StopCollisionZEP(); break;
        case 2: StopCollisionZEP(); StartCollisionZEP(); break;
        case 3: StopCollisionZEP(); StartCollisionDebugZEP(); break;
        case 4: StartCollisionDebugZEP(); break;
        case 5: StartCollisionZEP(); break;
        default: ResetCollisionStackZEP(); StopCollisionZEP(); StartCollisionZEP(); break;
    }
}

void stackWalk(Run& run) {
    const uint8_t mode = run.in.byte();
    if (mode & 1) ResetCollisionStackZEP();
    for (int i = 0; i < 1 + (mode >> 1 & 7); ++i) answer(run, PeekCollisionStackZEP());
}

void setHandler(Run& run) {
    const uint8_t mode = run.in.byte();
    hostHandler.callback = mode & 2 ? int(run.in.byte()) : -1;
    hostHandler.object = hostHandler.callback >= 0 ? run.object() : 0;
    hostHandler.index = hostHandler.callback >= 0 ? run.in.index() : 0;
    zepSetWarningHandler(mode & 3 ? &onWarning : nullptr, nullptr);
}

// Memory refused under a command is said, as a warning "out of memory: ...",
// and nothing is said so when none was (only while a handler listens).
void checkMemoryReports(uint64_t refusedBefore, int64_t saidBefore) {
    if (!zep::warningsWanted()) return;
    const bool refused = zep::allocationsRefused() != refusedBefore;
    const bool said = hostHandler.outOfMemorySaid != saidBefore;
    if (refused == said) return;
    std::fprintf(stderr, refused ? "memory was refused and no command said so\n"
                                 : "a command said memory ran out when none was refused\n");
    std::abort();
}

void runOne(Run& run, int op) {
    InputReader& in = run.in;
    switch (op) {
        case kMove: case kMoveAgain: case kMoveThird: move(run); break;
        case kRunPass: case kRunPassAgain: runPass(run); break;
        case kFrames: case kFramesAgain: frames(run); break;
        case kNewObject: case kNewObjectAgain: newObject(run); break;
        case kAddShape: case kAddShapeAgain: addShape(run); break;
        case kActivate: case kActivateAgain: ActivateObjZEP(run.object()); break;
        case kDeactivate: DeActivateObjZEP(run.object()); break;
        case kSetRadius: setRadius(run); break;
        case kAddTriangle: addTriangle(run); break;
        case kGrid: case kGridAgain: addGrid(run); break;
        case kMeshBlock: addMeshBlock(run); break;
        case kFree: FreeObjZEP(run.object()); break;
        case kRule: case kRuleAgain: { const int32_t a = in.type(); SetCollisionZEP(a, in.type(), -1, 0, int32_t(in.word())); break; }
        case kPeekPosition: {
            const int32_t n = run.object();
            const uint8_t axis = in.byte() % 3;
            answerFloat(run, axis == 0 ? PeekObjXZEP(n) : axis == 1 ? PeekObjYZEP(n) : PeekObjZZEP(n));
            break;
        }
        case kCountContacts: answer(run, CountCollisionsZEP(run.object())); break;
        case kContactQuery: case kContactQueryAgain: contactQuery(run); break;
        case kStackWalk: stackWalk(run); break;
        case kCheckShape: { const int32_t n = run.object(); answer(run, CheckShapeZEP(n, in.type())); break; }
        case kCrowd: crowd(run); break;
        case kHandler: setHandler(run); break;
        case kSystem: system(run); break;
        default: {  // kAllocations
            const uint8_t after = in.byte();
            run.trace.stopRecording();
            zep::testing::failAllocationsAfter(after < 0xF0 ? after : -1);
        }
    }
}

void checkAfter(Run& run, int op) {
    if (!run.checking || !changesWorld(op)) return;
    // After a stop or a start every slot may have changed.
    if (op == kSystem || ++run.changesSinceFullScan >= kFullScanEvery) {
        run.changesSinceFullScan = 0;
        stopIfBroken(zeptest::worldViolations(), "after a command");
    } else {
        stopIfBroken(zeptest::liveViolations(run.touched), "after a command");
    }
}

int64_t operationsRun = 0;
int64_t commandsRun = 0;  // the library's commands the operations called

// Runs the input on a fresh world, on the path the caller chose (PlainPath);
// returns the plain path's work on it as the budgets count it: the pass
// work asked for plus the triangles stored.
int64_t runInput(const uint8_t* data, size_t size, Trace& trace, bool checking) {
    StopCollisionZEP();
    zep::testing::failAllocationsAfter(-1);
    zep::world().reports.debugMessages = 0;  // each input starts as the library does at load
    if (zep::testing::liveRecords() != 0) std::abort();
    trace.clear();
    recording = &trace;
    hostHandler = HostHandler{};
    zepSetWarningHandler(nullptr, nullptr);
    const int64_t commandsBefore = zep::testing::commandsEntered();
    Run run(data, size, trace, checking);
    StartCollisionZEP();
    while (!run.in.empty() && !run.spent) {
        const int op = run.in.byte() % kOpCount;
        if (tracing) std::fprintf(stderr, "op %d (%s)\n", op, opName(op));
        trace.beginCommand(op);
        run.touched.clear();
        const uint64_t refusedBefore = zep::allocationsRefused();
        const int64_t saidBefore = hostHandler.outOfMemorySaid;
        runOne(run, op);
        checkMemoryReports(refusedBefore, saidBefore);
        operationsRun += checking;
        checkAfter(run, op);
    }
    if (checking) {
        stopIfBroken(zeptest::liveViolations({}), "at the end of the input");
        noteWorldTriangles(run.triangles);
    }
    zep::testing::failAllocationsAfter(-1);
    zepSetWarningHandler(nullptr, nullptr);
    StopCollisionZEP();
    if (checking) commandsRun += zep::testing::commandsEntered() - commandsBefore;
    recording = nullptr;
    // The full scan: a stray table slot outlives the stop.
    if (checking) stopIfBroken(zeptest::worldViolations(), "after the final stop");
    // Every record made since the world was empty has been freed.
    if (zep::testing::liveRecords() != 0) {
        std::fprintf(stderr, "%lld records outlive StopCollisionZEP\n", (long long)zep::testing::liveRecords());
        std::abort();
    }
    return run.passWork + run.triangles;
}

}  // namespace

}  // namespace zepfuzz

#ifdef ZEP_FUZZ_PLAIN_COPY

// The plain run on this copy's own library, its world and message handler.
extern "C" __attribute__((visibility("default"))) void zepfuzzPlainRun(const uint8_t* data, size_t size,
                                                                      zepfuzz::Trace& trace, int32_t threads) {
    static const bool handled = (zepSetMessageHandler(&zepfuzz::onMessage, nullptr), true);
    (void)handled;
    const zeptest::PlainPath path;
    const zeptest::PassThreads split(threads);
    zepfuzz::runInput(data, size, trace, false);
}

#else

namespace zepfuzz {

namespace {

// ZEP_FUZZ_DIFFERENTIAL says what a disagreement between the two paths
// does: "fatal" (the default) aborts, so libFuzzer keeps the input; "report"
// counts it, prints it, and keeps the input in the folder
// ZEP_FUZZ_DISAGREEMENTS names (if any); "expect" aborts when an input does
// NOT disagree (for the inputs of a known disagreement not yet fixed);
// "off" runs the indexed path alone.
enum class Differential { kFatal, kReport, kExpect, kOff };

Differential differentialMode() {
    const char* text = std::getenv("ZEP_FUZZ_DIFFERENTIAL");
    if (!text || !std::strcmp(text, "fatal")) return Differential::kFatal;
    if (!std::strcmp(text, "report")) return Differential::kReport;
    if (!std::strcmp(text, "expect")) return Differential::kExpect;
    if (!std::strcmp(text, "off")) return Differential::kOff;
    std::fprintf(stderr, "ZEP_FUZZ_DIFFERENTIAL must be fatal, report, expect or off, not %s\n", text);
    std::exit(2);
}

const Differential differential = differentialMode();
int64_t inputsRun = 0;

uint64_t inputHash(const uint8_t* data, size_t size) {
    uint64_t hash = 1469598103934665603ull;
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
    return hash;
}

// One input in kSanitizedPlainEvery, picked by its bytes so that an input
// always reaches the same code (libFuzzer's coverage of it stays the same
// from run to run), runs the plain path on the sanitized library if the
// plain path's work on it is at most kSanitizedPlainWork; the first input
// of a process always does. The plain path walks every pair and every
// triangle the same way whatever the world's size, so the small inputs keep
// its code under the sanitizers; on the corpus the large ones were a tenth
// of the inputs picked and took three fifths of the sanitized plain runs'
// time. Without the uninstrumented copy (a coverage build) every input runs
// there.
[[maybe_unused]] constexpr uint64_t kSanitizedPlainEvery = 8;
[[maybe_unused]] constexpr int64_t kSanitizedPlainWork = 10'000;

bool sanitizedPlainRun([[maybe_unused]] const uint8_t* data, [[maybe_unused]] size_t size,
                       [[maybe_unused]] int64_t plainWork) {
#ifdef ZEP_FUZZ_ONE_COPY
    return true;
#else
    return inputsRun == 1 || (inputHash(data, size) % kSanitizedPlainEvery == 0 && plainWork <= kSanitizedPlainWork);
#endif
}
int64_t disagreements = 0;
constexpr int64_t kMostKept = 50;

// The threads each run's passes split over (every pass split, however few
// its movers), picked by the input's bytes: one input in kThreadedEvery runs
// its indexed path threaded, and one its plain path, against the other path
// on the host's thread alone; any disagreement fails as the paths' do. A
// pass's threads end at every stop, so each threaded input starts them anew:
// the share is kept small enough to leave the run's pace.
constexpr uint64_t kThreadedEvery = 16;
struct RunThreads {
    int32_t indexed = 1;
    int32_t plain = 1;
};
RunThreads runThreads(const uint8_t* data, size_t size) {
    const uint64_t hash = inputHash(data, size) >> 3;  // the plain runs' pick uses the low bits
    const int32_t threads = int32_t(2 + (hash / kThreadedEvery) % 3);
    if (hash % kThreadedEvery == 0) return RunThreads{threads, 1};
    if (hash % kThreadedEvery == 1) return RunThreads{1, threads};
    return RunThreads{};
}

void keepDisagreement(const uint8_t* data, size_t size) {
    const char* folder = std::getenv("ZEP_FUZZ_DISAGREEMENTS");
    if (!folder || disagreements > kMostKept) return;
    char path[4096];
    std::snprintf(path, sizeof path, "%s/disagreement-%016llx", folder, (unsigned long long)inputHash(data, size));
    if (FILE* out = std::fopen(path, "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
}

void printSummary() {
    std::fprintf(stderr, "zep fuzz: %lld inputs, %lld commands (%lld operations)\n", (long long)inputsRun,
                 (long long)commandsRun, (long long)operationsRun);
    if (differential == Differential::kReport)
        std::fprintf(stderr, "zep differential: %lld of %lld inputs disagreed between the indexed and the plain path\n",
                     (long long)disagreements, (long long)inputsRun);
}

}  // namespace

}  // namespace zepfuzz

#ifndef ZEP_FUZZ_ONE_COPY
extern "C" void zepfuzzPlainRun(const uint8_t* data, size_t size, zepfuzz::Trace& trace, int32_t threads);
#else
extern "C" void zepfuzzPlainRun(const uint8_t*, size_t, zepfuzz::Trace&, int32_t) { std::abort(); }
#endif

// AddressSanitizer's settings, where ASAN_OPTIONS does not name them. An
// input allocates every triangle, contact and work array on its own, and at
// the defaults each allocation's 30-frame stack and the 256 MB of freed
// memory held back (fresh pages to fault in until it fills) cost a tenth of
// the run. Ten frames still reach from a record's allocation up to the
// command that made it (six frames or fewer from makeRecord on the kept
// corpus), and from a work array's well into the pass; 64 MB holds the
// frees of many inputs, so a stale pointer kept from one input to the next
// is still caught.
extern "C" const char* __asan_default_options() { return "malloc_context_size=10:quarantine_size_mb=64"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zepSetMessageHandler(&zepfuzz::onMessage, nullptr);
    std::atexit(&zepfuzz::printWorkStats);
    std::atexit(&zepfuzz::printSummary);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zepfuzz;
    static Trace indexed, plain;
    ++inputsRun;
    const RunThreads threads = runThreads(data, size);
    const int64_t plainWork = [&] {
        const zeptest::PlainPath path(false);
        const zeptest::PassThreads split(threads.indexed);
        return runInput(data, size, indexed, true);
    }();
    if (differential == Differential::kOff) return 0;
    if (sanitizedPlainRun(data, size, plainWork)) {
        const zeptest::PlainPath path;
        const zeptest::PassThreads split(threads.plain);
        runInput(data, size, plain, false);
    } else {
        zepfuzzPlainRun(data, size, plain, threads.plain);
    }
    const std::string difference = Trace::firstDifference(indexed, plain, &opName);
    if (difference.empty()) {
        if (differential == Differential::kExpect) {
            std::fprintf(stderr, "the paths now agree on this known disagreement: it belongs in fuzz/regressions\n");
            std::abort();
        }
        return 0;
    }
    if (differential == Differential::kExpect) return 0;
    ++disagreements;
    if (differential == Differential::kReport) {
        if (disagreements <= 5) std::fprintf(stderr, "zep differential: the paths disagree at %s\n", difference.c_str());
        keepDisagreement(data, size);
        return 0;
    }
    std::fprintf(stderr, "the indexed and the plain path disagree at %s\n", difference.c_str());
    std::abort();
}

#endif  // ZEP_FUZZ_PLAIN_COPY
