// The collision pass with characters: every active mover in body order,
// characters by the character rules and the rest by collide-and-slide,
// exactly as a pass without characters moves them.
#pragma once

namespace zep {

struct PassWork;
struct World;

void runPassWithCharacters(World& world, PassWork& work);

}  // namespace zep
