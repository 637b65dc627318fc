// One collision pass: every active mover against every active partner its
// rules name, then each mover takes the slide destination of its last contact.
//
// The pass in parts, so that the layer above can move some movers by rules
// of its own (the character rules) and leave the rest to collide-and-slide:
// beginPass, then resolveMover (or the other rules) for each active mover in
// body order, then finishPass.
#pragma once

namespace zep {

struct CollisionBody;
struct Pass;
struct PartnerTable;
struct World;

// Numbers the pass, clears every body's contacts and marks, and lists the
// meetable bodies. The partner table the movers' chains use: null on the
// plain path (every pair), or when memory for it ran out.
const PartnerTable* beginPass(Pass& pass);
// Marks the mover processed and runs its chains by collide and slide.
void resolveMover(Pass& pass, CollisionBody* mover, const PartnerTable* table);
// Writes each mover's result back as its position.
void finishPass(World& world);

}  // namespace zep
