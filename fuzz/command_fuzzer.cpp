// libFuzzer target: every input is a sequence of commands with hostile
// arguments, run on a fresh world. After every command the world must still
// be consistent, after every pass the pass's own rules must hold, and after
// the final StopCollisionZEP no record may be left alive.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "api/errors.h"
#include "base/allocation.h"
#include "input_reader.h"
#include "mesh_block.h"
#include "support/invariants.h"
#include "work_stats.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"
#include "zepcollide.h"

namespace zepfuzz {

namespace {

// Keeps every pass short: the solver's cost grows with triangles times
// contacts, and a fuzz input that merely builds a huge mesh finds nothing new.
constexpr int64_t kMaxWorldTriangles = 256;
constexpr int kMaxShapesPerBody = 6;
// Extra opcodes beyond the 26 commands: make allocations fail from the Nth
// on, and let them succeed again.
constexpr int kOpFailAllocations = 26;
constexpr int kOpRestoreAllocations = 27;
constexpr int kOpCount = 28;

// Queries only read; checking the world after them would only slow the
// search down.
bool changesWorld(int op) {
    const bool query = op == 5 || op == 14 || (op >= 16 && op <= 18) || (op >= 20 && op <= 25);
    return !query;
}

void ignoreMessage(const char*, const char*, void*) {}

void stopIfBroken(const std::vector<std::string>& violations, const char* when) {
    if (violations.empty()) return;
    std::fprintf(stderr, "world broken %s:\n%s", when, zepcheck::describe(violations).c_str());
    std::abort();
}

struct WorldSize {
    int64_t triangles = 0;
    int mostShapes = 0;
};

WorldSize measureWorld() {
    WorldSize size;
    for (const zep::CollisionBody* body = zep::bodyListHead; body; body = body->next) {
        int shapes = 0;
        for (zep::CollisionShape* shape = body->shapesHead; shape; shape = shape->next, ++shapes)
            if (const zep::MeshShape* mesh = zep::asMesh(shape)) size.triangles += mesh->triangleCount;
        size.mostShapes = std::max(size.mostShapes, shapes);
    }
    return size;
}

// Triangles one more triangle per mesh of the object may add, within budget.
int32_t triangleRoom(int32_t number) {
    if (!zep::objectNumberInRange(number) || !zep::objectAt(number)) return 0;
    int meshes = 0;
    for (auto* shape = zep::objectAt(number)->body->shapesHead; shape; shape = shape->next)
        meshes += shape->kind == zep::kShapeMesh;
    const int64_t left = kMaxWorldTriangles - measureWorld().triangles;
    return meshes ? int32_t(std::max<int64_t>(0, left / meshes)) : int32_t(kMaxWorldTriangles);
}

void addMeshTriangle(InputReader& in) {
    const int32_t n = in.objectNumber();
    float c[9];
    for (float& v : c) v = in.floatArg();
    if (triangleRoom(n) > 0) AddMeshTri(n, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8]);
}

void addMeshBlock(InputReader& in) {
    const int32_t n = in.objectNumber();
    const std::vector<uint8_t> block = carveMeshBlock(in, triangleRoom(n));
    AddMeshZEP(n, block.data());
}

void addShape(InputReader& in) {
    const int32_t n = in.objectNumber();
    const int32_t kind = in.type();
    if (measureWorld().mostShapes < kMaxShapesPerBody) AddObjShapeZEP(n, kind);
}

// ZEP_FUZZ_TRACE=1 prints each command and each pass's contacts, to read
// what a saved input does.
const bool tracing = std::getenv("ZEP_FUZZ_TRACE") != nullptr;

void tracePass() {
    if (!tracing) return;
    for (const zep::CollisionBody* body = zep::bodyListHead; body; body = body->next) {
        const zep::Vec3& p = body->currentPosition;
        std::fprintf(stderr, "  object %d at (%g, %g, %g), %d contacts\n", body->objectNumber, p.x, p.y,
                     p.z, zep::countContacts(body));
    }
}

void runPass() {
    measurePass([] { RunCollisionZEP(); });
    tracePass();
    stopIfBroken(zepcheck::passViolations(), "after a pass");
}

// Results are read but not judged: the point is that reading them is safe.
volatile int32_t sink;

void runQuery(int op, InputReader& in) {
    const int32_t n = in.objectNumber();
    switch (op) {
        case 5: sink = CheckShapeZEP(n, in.type()); break;
        case 16: sink = PeekObjXZEP(n); break;
        case 17: sink = PeekObjYZEP(n); break;
        case 18: sink = PeekObjZZEP(n); break;
        case 20: sink = CountCollisionsZEP(n); break;
        case 21: { const int32_t i = in.index(); sink = CollisionHit(n, i, in.index()); break; }
        case 22: { const int32_t i = in.index(); sink = CollisionHitNorm(n, i, in.index()); break; }
        case 23: sink = CollisionObjHit(n, in.index()); break;
        case 24: sink = CollisionPolyHit(n, in.index()); break;
        default: {
            const int32_t i = in.index();
            const int32_t corner = in.index();
            sink = CollisionTriCorner(n, i, corner, in.index());
        }
    }
}

void runObjectCommand(int op, InputReader& in) {
    switch (op) {
        case 4: { const int32_t n = in.objectNumber(); NewCollObjZEP(n, in.type()); break; }
        case 6: addShape(in); break;
        case 7: ActivateObjZEP(in.objectNumber()); break;
        case 8: DeActivateObjZEP(in.objectNumber()); break;
        case 9: {
            const int32_t n = in.objectNumber();
            const float rx = in.floatArg(), ry = in.floatArg();
            SetObjRadiusZEP(n, rx, ry, in.floatArg());
            break;
        }
        case 10: addMeshTriangle(in); break;
        case 11: addMeshBlock(in); break;
        case 12: {
            const int32_t n = in.objectNumber();
            const float x = in.floatArg(), y = in.floatArg();
            UpdateObjZEP(n, x, y, in.floatArg(), int32_t(in.word()), -1, 0);
            break;
        }
        case 19: FreeObjZEP(in.objectNumber()); break;
        default: runQuery(op, in);
    }
}

void runOne(int op, InputReader& in) {
    switch (op) {
        case 0: StartCollisionZEP(); break;
        case 1: StartCollisionDebugZEP(); break;
        case 2: StopCollisionZEP(); break;
        case 3: { const int32_t a = in.type(); SetCollisionZEP(a, in.type(), -1, 0, int32_t(in.word())); break; }
        case 13: ResetCollisionStackZEP(); break;
        case 14: sink = PeekCollisionStackZEP(); break;
        case 15: runPass(); break;
        case kOpFailAllocations: zep::testing::failAllocationsAfter(in.byte()); break;
        case kOpRestoreAllocations: zep::testing::failAllocationsAfter(-1); break;
        default: runObjectCommand(op, in);
    }
}

}  // namespace

}  // namespace zepfuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zepSetMessageHandler(&zepfuzz::ignoreMessage, nullptr);
    std::atexit(&zepfuzz::printWorkStats);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zepfuzz;
    StopCollisionZEP();
    zep::testing::failAllocationsAfter(-1);
    zep::debugMessages = 0;  // each input starts as the library does at load
    if (zep::testing::liveRecords() != 0) std::abort();
    InputReader in(data, size);
    StartCollisionZEP();
    while (!in.empty()) {
        const int op = in.byte() % kOpCount;
        if (tracing) std::fprintf(stderr, "op %d\n", op);
        runOne(op, in);
        if (changesWorld(op)) stopIfBroken(zepcheck::worldViolations(), "after a command");
    }
    noteWorldTriangles(measureWorld().triangles);
    zep::testing::failAllocationsAfter(-1);
    StopCollisionZEP();
    stopIfBroken(zepcheck::worldViolations(), "after the final stop");
    // Every record made since the world was empty has been freed.
    if (zep::testing::liveRecords() != 0) {
        std::fprintf(stderr, "%lld records outlive StopCollisionZEP\n",
                     (long long)zep::testing::liveRecords());
        std::abort();
    }
    return 0;
}
