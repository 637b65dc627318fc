// What a command says when memory ran out under it. Commands that allocate
// watch the count of refused allocations; when it moved, they say what was
// not done (see reportOutOfMemory), and a pass says which movers it could
// not keep whole and which meshes lost their index.
#pragma once

#include <cstdint>

#include "base/allocation.h"

namespace zep {

struct CollisionBody;

class MemoryWatch {
public:
    MemoryWatch() : before_(allocationsRefused()) {}
    bool ranOut() const { return allocationsRefused() != before_; }
    uint64_t before() const { return before_; }

private:
    uint64_t before_;
};

// One warning for the body if the index of one of its meshes ran out of
// memory while `watch` looked: its sweeps take the slow path.
void warnLostIndex(const char* command, const CollisionBody& body, const MemoryWatch& watch);

// After a pass that ran out of memory: each mover it could not keep whole
// fails (the box, when armed, for the first), each mesh that lost its index
// warns, and a pass that lost neither says that it took a slower path.
void reportPassMemory(const MemoryWatch& watch);

// After the warnings that look for movers gone through a triangle from
// behind: when their search ran out of memory, that they could not all look.
void reportChecksMemory(const MemoryWatch& watch);

}  // namespace zep
