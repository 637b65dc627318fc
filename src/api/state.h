// The library's state, one instance of each record for the life of the
// loaded library: what the host has built, and what the collision passes
// keep to save work. Every command reaches them here and hands them down.
#pragma once

namespace zep {

struct PassWork;
struct World;

World& world();
PassWork& passWork();

}  // namespace zep
