#include "api/state.h"

#include "pass/pass_work.h"

namespace zep {

namespace {

PassWork thePassWork;

}  // namespace

PassWork& passWork() { return thePassWork; }

}  // namespace zep
