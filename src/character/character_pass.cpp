#include "character/character_pass.h"

#include "character/character_move.h"
#include "pass/pass.h"
#include "pass/pass_threads.h"
#include "pass/pass_work.h"
#include "world/character.h"
#include "world/object.h"
#include "world/world.h"

namespace zep {

namespace {

void moveMover(Pass& pass, CollisionBody* mover, const PartnerTable* table) {
    if (mover->character) moveCharacter(pass, *mover, table);
    else resolveMover(pass, mover, table);
}

}  // namespace

void runPassWithCharacters(World& world, PassWork& work) {
    Pass pass{world, work};
    const PartnerTable* table = beginPass(pass);
    if (!moveMoversOnThreads(pass, table, moveMover))
        for (CollisionBody* mover = world.bodyListHead; mover; mover = mover->next)
            if (mover->active) moveMover(pass, mover, table);
    finishPass(world);
    // A character whose move memory could not keep whole stays where it
    // started, as finishPass left it.
    for (CollisionBody* body = world.bodyListHead; body; body = body->next)
        if (body->active && body->character && !body->passIncomplete) body->currentPosition = body->character->endOfPass;
}

}  // namespace zep
