// One collision pass: every active mover against every active partner its
// rules name, then each mover takes the slide destination of its last contact.
#pragma once

namespace zep {

struct PassWork;
struct World;

void runCollisionPass(World& world, PassWork& work);

}  // namespace zep
