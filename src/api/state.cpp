#include "api/state.h"

#include "pass/pass_work.h"
#include "world/world.h"

namespace zep {

namespace {

World theWorld;
PassWork thePassWork;

}  // namespace

World& world() { return theWorld; }
PassWork& passWork() { return thePassWork; }

}  // namespace zep
