// Starting and stopping the system, and unloading the library.
#include <dlfcn.h>

#include "base/allocation.h"
#include "support/fixture.h"
#include "support/invariants.h"

namespace zeptest {
namespace {

class LifecycleTest : public CommandTest {};

// What the host sees after the next start is the shared scenario
// StartTwiceKeepsStopEmpties, and a stop of a system never started the
// scenario ErrorBoxOneShotAndTexts; that a start refused its memory stays
// stopped, the exhaustion sweep.
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
    EXPECT_THAT(worldViolations(), ::testing::IsEmpty());  // no list, rule or cursor left behind
    EXPECT_EQ(PeekCollisionStackZEP(), 0);
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
