// Starting and stopping the system, and unloading the library.
#include <dlfcn.h>

#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
#include "base/allocation.h"
#include "support/fixture.h"
#include "support/world_view.h"
#include "world/rules.h"
#include "world/system.h"

namespace zeptest {
namespace {

using ::testing::ElementsAre;

class LifecycleTest : public CommandTest {};

TEST_F(LifecycleTest, StopReleasesEveryRecord) {
    const int64_t before = zep::testing::liveRecords();
    StartCollisionZEP();
    SetCollisionZEP(1, 2, 0, 0, 0);
    SetCollisionZEP(2, 1, 0, 0, 0);
    for (int n : {4, 9, 2}) {
        NewCollObjZEP(n, 1);
        AddObjShapeZEP(n, 1);
        AddObjShapeZEP(n, 2);
        AddMeshTri(n, 0, 0, 0, 1, 0, 0, 0, 0, 1);
        ActivateObjZEP(n);
    }
    ResetCollisionStackZEP();
    StopCollisionZEP();
    EXPECT_EQ(zep::testing::liveRecords(), before);
    EXPECT_EQ(zep::world().stackCursor, nullptr);
    EXPECT_EQ(PeekCollisionStackZEP(), 0);
    EXPECT_EQ(zep::world().ruleListHead, nullptr);
    // What the host sees after the next start: the shared scenario
    // StartTwiceKeepsStopEmpties.
}

TEST_F(LifecycleTest, StopWithoutStartIsHarmless) {
    StartCollisionDebugZEP();
    StopCollisionZEP();
    StopCollisionZEP();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(zep::isStarted(zep::world()));
}

TEST_F(LifecycleTest, StartThatCannotAllocateStaysStopped) {
    zep::testing::failAllocationsAfter(0);
    StartCollisionZEP();
    zep::testing::failAllocationsAfter(-1);
    EXPECT_FALSE(zep::isStarted(zep::world()));
    StartCollisionDebugZEP();
    NewCollObjZEP(1, 1);
    EXPECT_THAT(texts(), ElementsAre("Cannot create collision object, system not started1"));
}

// A load-use-unload cycle of the shared library, as a host does it. Run under
// the leak checker, it also shows that unloading releases the whole world.
TEST_F(LifecycleTest, SharedLibraryLoadUseUnloadCycle) {
    void* library = dlopen(ZEP_SHARED_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto start = reinterpret_cast<void (*)()>(dlsym(library, "StartCollisionZEP"));
    auto create = reinterpret_cast<void (*)(int32_t, int32_t)>(dlsym(library, "NewCollObjZEP"));
    auto check = reinterpret_cast<int32_t (*)(int32_t, int32_t)>(dlsym(library, "CheckShapeZEP"));
    auto rule = reinterpret_cast<void (*)(int32_t, int32_t, int32_t, int32_t, int32_t)>(
        dlsym(library, "SetCollisionZEP"));
    ASSERT_TRUE(start && create && check && rule);
    start();
    rule(1, 2, 0, 0, 0);
    create(3, 1);
    EXPECT_EQ(check(3, 1), 1);
    ASSERT_EQ(dlclose(library), 0);

    library = dlopen(ZEP_SHARED_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    check = reinterpret_cast<int32_t (*)(int32_t, int32_t)>(dlsym(library, "CheckShapeZEP"));
    start = reinterpret_cast<void (*)()>(dlsym(library, "StartCollisionZEP"));
    start();
    EXPECT_EQ(check(3, 1), 0);  // object 3 is gone
    dlclose(library);
}

}  // namespace
}  // namespace zeptest
