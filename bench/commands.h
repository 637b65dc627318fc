// The public C API of include/zepcollide.h as a table of function pointers,
// so that one piece of scene code can drive the library linked into the
// program (`make bench`, `make bench-peers`) or a build loaded at run time
// (bench/compare.cpp loads two side by side). Each member bears its command's
// name and type: `zep.RunCollisionZEP()`.
#pragma once

#include "zepcollide.h"

namespace zepbench {

// Every command and the Linux handler setters: any build of the library has
// them, an earlier commit's included.
#define ZEPBENCH_COMMANDS(X)                                                                             \
    X(StartCollisionZEP) X(StartCollisionDebugZEP) X(StopCollisionZEP) X(SetCollisionZEP) X(NewCollObjZEP) \
    X(CheckShapeZEP) X(AddObjShapeZEP) X(ActivateObjZEP) X(DeActivateObjZEP) X(SetObjRadiusZEP)            \
    X(AddMeshTri) X(AddMeshZEP) X(UpdateObjZEP) X(ResetCollisionStackZEP) X(PeekCollisionStackZEP)         \
    X(RunCollisionZEP) X(PeekObjXZEP) X(PeekObjYZEP) X(PeekObjZZEP) X(FreeObjZEP) X(CountCollisionsZEP)    \
    X(CollisionHit) X(CollisionHitNorm) X(CollisionObjHit) X(CollisionPolyHit) X(CollisionTriCorner)       \
    X(zepSetMessageHandler) X(zepSetWarningHandler)

// Added later than the rest: null in a build that predates it.
#define ZEPBENCH_LATER_COMMANDS(X) X(zepCollisionCenter) X(SetCharacterZEP) X(SetCollisionThreadsZEP)

struct Commands {
#define ZEPBENCH_MEMBER(name) decltype(&::name) name = nullptr;
    ZEPBENCH_COMMANDS(ZEPBENCH_MEMBER)
    ZEPBENCH_LATER_COMMANDS(ZEPBENCH_MEMBER)
#undef ZEPBENCH_MEMBER
};

// The table of the library linked into this program (bench/linked_commands.cpp).
const Commands& linkedCommands();

}  // namespace zepbench
