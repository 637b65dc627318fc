// One collision pass: every active mover against every active partner its
// rules name, then each mover takes the slide destination of its last contact.
#pragma once

namespace zep {

void runCollisionPass();

}  // namespace zep
