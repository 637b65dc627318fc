// A host that breaks the calling rules: handlers that call back in with
// every kind of command at every moment a handler is called, handlers whose
// own calls fail again and again, and two threads in the library at once.
// None of it may crash, recurse without bound or change what the commands
// do: a handler may read, anything else it calls is refused and said, and a
// second thread is refused while a command runs.
#include <algorithm>
#include <condition_variable>
#include <functional>
#include <limits>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/fixture.h"
#include "support/invariants.h"
#include "support/mesh_block.h"
#include "support/scene.h"
#include "support/warnings.h"
#include "support/world_view.h"

namespace zeptest {
namespace {

using ::testing::IsEmpty;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Command {
    const char* name;
    bool reads;  // may run inside a handler
    std::function<void()> call;
};

// Every command, aimed at the objects a careless host would touch from a
// handler: the mover warned about (3), the one that walks (1), the floor
// (2), and numbers that fail.
std::vector<Command> everyCommand() {
    static const std::vector<uint8_t> block = meshBlock(12, 3, {0, 0, 0, 0, 0, 1, 1, 0, 0});
    return {
        {"StartCollisionZEP", false, [] { StartCollisionZEP(); }},
        {"StartCollisionDebugZEP", false, [] { StartCollisionDebugZEP(); }},
        {"StopCollisionZEP", false, [] { StopCollisionZEP(); }},
        {"SetCollisionZEP", false, [] { SetCollisionZEP(3, 2, 0, 0, 0); }},
        {"NewCollObjZEP", false, [] { NewCollObjZEP(3, 1); }},
        {"CheckShapeZEP", true, [] { (void)CheckShapeZEP(3, 7); }},
        {"AddObjShapeZEP", false, [] { AddObjShapeZEP(3, ZEP_SHAPE_MESH); }},
        {"ActivateObjZEP", false, [] { ActivateObjZEP(4); }},
        {"DeActivateObjZEP", false, [] { DeActivateObjZEP(2); }},
        {"SetObjRadiusZEP", false, [] { SetObjRadiusZEP(1, 0, kNaN, 1); }},
        {"AddMeshTri", false, [] { addTriangle(2, kRamp); }},
        {"AddMeshZEP", false, [] { AddMeshZEP(2, block.data()); }},
        {"UpdateObjZEP", false, [] { UpdateObjZEP(3, kNaN, 0, 0, 0, 0, 0); }},
        {"ResetCollisionStackZEP", false, [] { ResetCollisionStackZEP(); }},
        {"PeekCollisionStackZEP", false, [] { (void)PeekCollisionStackZEP(); }},
        {"RunCollisionZEP", false, [] { RunCollisionZEP(); }},
        {"PeekObjXZEP", true, [] { (void)PeekObjXZEP(3); }},
        {"PeekObjYZEP", true, [] { (void)PeekObjYZEP(-1); }},
        {"PeekObjZZEP", true, [] { (void)PeekObjZZEP(9); }},
        {"FreeObjZEP", false, [] { FreeObjZEP(3); }},
        {"CountCollisionsZEP", true, [] { (void)CountCollisionsZEP(1); }},
        {"CollisionHit", true, [] { (void)CollisionHit(1, 1, 4); }},
        {"CollisionHitNorm", true, [] { (void)CollisionHitNorm(1, 99, 1); }},
        {"CollisionObjHit", true, [] { (void)CollisionObjHit(1, 1); }},
        {"CollisionPolyHit", true, [] { (void)CollisionPolyHit(1, 0); }},
        {"CollisionTriCorner", true, [] { (void)CollisionTriCorner(1, 1, 4, 1); }},
        {"zepCollisionCenter", true, [] { (void)zepCollisionCenter(1, 1, 2); }},
        {"SetCollisionThreadsZEP", false, [] { SetCollisionThreadsZEP(-1); }},
    };
}

// The moments a handler of the host's is called, each a call that warns or
// fails: a pass's warning about an unruled mover (3) and a never activated
// mesh (4), a warning in the middle of a command that goes on with the same
// object, a failed object check, and the armed error box.
struct Moment {
    const char* name;
    std::function<void()> call;
};

std::vector<Moment> everyMoment() {
    return {
        {"pass warnings", [] { RunCollisionZEP(); }},
        {"warning inside UpdateObjZEP", [] { UpdateObjZEP(3, kNaN, 1, 1, 0, 0, 0); }},
        {"failed check", [] { FreeObjZEP(77); }},
        {"error box", [] {
             StartCollisionDebugZEP();
             (void)CollisionHit(1, 42, 1);
         }},
    };
}

// The handler under test: each call of either handler runs the command.
struct CallingHandler {
    const Command* command = nullptr;
    int calls = 0;
    std::vector<Seen> warnings;

    static void onWarning(const ZepWarning* w, void* context) {
        auto* self = static_cast<CallingHandler*>(context);
        self->warnings.push_back(Seen{w->command, w->object, w->hasObject != 0, w->text});
        self->run();
    }
    static void onBox(const char*, const char*, void* context) { static_cast<CallingHandler*>(context)->run(); }
    void run() {
        ++calls;
        if (command) command->call();
    }
    int refusalsOf(const char* name) const {
        int count = 0;
        for (const Seen& w : warnings) count += w.command == name && w.text.rfind("refused: ", 0) == 0 ? 1 : 0;
        return count;
    }
};

class HostileHostTest : public CommandTest {
protected:
    // A floor (2) under a walker (1) that meets it, a mover no rule moves
    // (3) and a mesh a rule names that was never activated (4).
    void buildScene() {
        startMoversOnMeshes();
        makeMeshObject(2, 2, {kFloor});
        makeMover(1, 1, {1, 1, 1}, {-1, 5, -1});
        moveTo(1, {-1, -5, -1});
        makeMover(3, 7, {1, 2, 1}, {4, 4, 4});
        NewCollObjZEP(4, 2);
        AddObjShapeZEP(4, ZEP_SHAPE_MESH);
        addTriangle(4, kFloor);
    }

    // The world after the moment, with the handler set to call `command`
    // (none: a handler that only listens). Handlers are unset again after.
    std::string worldAfter(const Moment& moment, CallingHandler& handler) {
        buildScene();
        RunCollisionZEP();
        moveTo(1, {-1, -6, -1});
        zepSetWarningHandler(&CallingHandler::onWarning, &handler);
        zepSetMessageHandler(&CallingHandler::onBox, &handler);
        moment.call();
        zepSetWarningHandler(nullptr, nullptr);
        zepSetMessageHandler(nullptr, nullptr);
        EXPECT_THAT(worldViolations(), IsEmpty());
        // Records are made anew each time: compare what they hold, not where.
        const std::string snapshot = std::regex_replace(worldSnapshot(), std::regex("0x[0-9a-f]+"), "@");
        toLoadState();
        return snapshot;
    }
};

TEST_F(HostileHostTest, HandlersCallingEveryCommandChangeNothingAndEndDeep) {
    for (const Moment& moment : everyMoment()) {
        CallingHandler listener;
        const std::string expected = worldAfter(moment, listener);
        ASSERT_GE(listener.calls, 1) << moment.name << " calls no handler";
        for (const Command& command : everyCommand()) {
            SCOPED_TRACE(::testing::Message() << moment.name << ", the handler calls " << command.name);
            CallingHandler handler{&command, 0, {}};
            EXPECT_EQ(worldAfter(moment, handler), expected);
            // Each report reaches the handler again at most once more, from
            // the handler's own call, and no deeper.
            EXPECT_LE(handler.calls, 2 * listener.calls);
            if (!command.reads) {
                EXPECT_GE(handler.refusalsOf(command.name), 1);
            }
        }
    }
}

// A handler may read: inside the pass's warning it sees the positions and
// contacts as they stand.
TEST_F(HostileHostTest, HandlersReadTheWorldAsItStands) {
    buildScene();
    static zep::Vec3 seen;
    zepSetWarningHandler([](const ZepWarning*, void*) { seen = positionOf(3); }, nullptr);
    RunCollisionZEP();
    zepSetWarningHandler(nullptr, nullptr);
    EXPECT_VEC3_EQ((zep::Vec3{4, 4, 4}), seen);
}

// One thread is inside RunCollisionZEP (held in its warning handler) while
// another calls every command: each is refused, changes nothing and is told
// to the second thread's handler.
TEST_F(HostileHostTest, SecondThreadIsRefusedWhileACommandRuns) {
    buildScene();
    struct Rendezvous {
        std::mutex mutex;
        std::condition_variable changed;
        bool inside = false, done = false;
        std::thread::id holder;
        std::vector<std::string> refusedCommands;
    } meet;
    zepSetWarningHandler(
        [](const ZepWarning* w, void* context) {
            auto& m = *static_cast<Rendezvous*>(context);
            std::unique_lock<std::mutex> lock(m.mutex);
            if (std::this_thread::get_id() != m.holder) {
                m.refusedCommands.push_back(w->command);
                return;
            }
            m.inside = true;
            m.changed.notify_all();
            m.changed.wait(lock, [&] { return m.done; });
        },
        &meet);
    std::string during;
    std::thread holder([&] {
        {
            std::lock_guard<std::mutex> lock(meet.mutex);
            meet.holder = std::this_thread::get_id();
        }
        RunCollisionZEP();
    });
    {
        std::unique_lock<std::mutex> lock(meet.mutex);
        meet.changed.wait(lock, [&] { return meet.inside; });
    }
    const std::string before = worldSnapshot();
    std::vector<std::string> called;
    for (const Command& command : everyCommand()) {
        command.call();
        called.push_back(command.name);
    }
    EXPECT_EQ(PeekObjYZEP(1), 0) << "a refused read answers 0";
    called.push_back("PeekObjYZEP");
    during = worldSnapshot();
    {
        std::lock_guard<std::mutex> lock(meet.mutex);
        meet.done = true;
    }
    meet.changed.notify_all();
    holder.join();
    zepSetWarningHandler(nullptr, nullptr);
    EXPECT_EQ(before, during);
    EXPECT_EQ(meet.refusedCommands, called);
    EXPECT_THAT(worldViolations(), IsEmpty());
    // The thread that was refused may call in once the other has left.
    EXPECT_SAME_FLOAT(1.0f, zepFloat(PeekObjYZEP(1)));
}

// Two threads calling at once without a handler: whatever interleaving, no
// crash and a consistent world.
TEST_F(HostileHostTest, TwoThreadsHammeringOneWorld) {
    buildScene();
    auto hammer = [](float x) {
        for (int i = 0; i < 2000; ++i) {
            moveTo(1, {x, 3, -1});
            moveTo(1, {x, -3, -1});
            RunCollisionZEP();
            (void)PeekObjXZEP(1);
        }
    };
    std::thread other(hammer, 2.0f);
    hammer(-2.0f);
    other.join();
    EXPECT_THAT(worldViolations(), IsEmpty());
    moveTo(1, {-1, 5, -1});
    moveTo(1, {-1, -5, -1});
    RunCollisionZEP();
    EXPECT_VEC3_EQ((zep::Vec3{-1, 1, -1}), positionOf(1));
}

// A host's mesh block may sit at any address and have any vertex size from
// 12 bytes up: read at every misalignment it gives the same triangles.
TEST_F(HostileHostTest, MeshBlocksAtAnyAlignment) {
    const std::vector<float> corners = {0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 0, 0, 2, 0, 1, 3, 0, 0};
    for (uint32_t vertexSize : {12u, 13u, 16u, 22u}) {
        const std::vector<uint8_t> block = meshBlock(vertexSize, 6, corners);
        for (size_t offset = 0; offset < 4; ++offset) {
            SCOPED_TRACE(::testing::Message() << vertexSize << "-byte vertices at offset " << offset);
            std::vector<uint8_t> shifted(offset + block.size());
            std::copy(block.begin(), block.end(), shifted.begin() + std::ptrdiff_t(offset));
            startMoversOnMeshes();
            makeMeshObject(2, 2, {});
            AddMeshZEP(2, shifted.data() + offset);
            EXPECT_EQ(triangleFloats(zep::asMesh(shapeAt(2, 0))), corners);
        }
    }
}

}  // namespace
}  // namespace zeptest
