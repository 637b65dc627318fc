// One collision pass: every active mover against every active partner its
// rules name, then each mover takes the slide destination of its last contact.
#pragma once

namespace zep {

void runCollisionPass();

// Frees the working memory kept from one pass to the next (the partner table
// and the candidate buffers), so a stopped or unloaded library holds nothing.
void releasePassMemory();

}  // namespace zep
