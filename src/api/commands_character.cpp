// The character commands: make an object a character, and read what its
// last pass found.
#include <cmath>

#include "api/checks.h"
#include "api/command_entry.h"
#include "api/diagnostics.h"
#include "api/errors.h"
#include "world/character.h"
#include "world/shapes.h"
#include "zepcollide.h"

using namespace zep;

namespace {

constexpr float kSteepestSlopeLimit = 89.9f;

// The object's character record, or nullptr (with a warning) for an object
// that is not a character: it reads as in the air.
const CharacterRecord* characterOf(const char* command, int32_t number) {
    CollisionObject* object = validateObject(number, command);
    if (!object) return nullptr;
    if (!object->body->character && warningsWanted())
        warnAbout(command, number, "read as in the air: the object is not a character (SetCharacterZEP)");
    return object->body->character;
}

bool validSettings(int32_t number, float slopeLimitDegrees, float stepOffset, float snapDistance) {
    if (!(slopeLimitDegrees >= 0.0f && slopeLimitDegrees <= kSteepestSlopeLimit)) {
        reportError(message::kSlopeLimitOutOfRange, number);
        return false;
    }
    if (!(std::isfinite(stepOffset) && stepOffset >= 0.0f && std::isfinite(snapDistance) && snapDistance >= 0.0f)) {
        reportError(message::kStepOrSnapInvalid, number);
        return false;
    }
    return true;
}

}  // namespace

extern "C" {

ZEP_API void ZEPCALL SetCharacterZEP(int32_t number, float slopeLimitDegrees, float stepOffset, float snapDistance) {
    const CommandEntry entry("SetCharacterZEP", FromHandler::Refused);
    if (!entry.admitted()) return;
    CollisionObject* object = validateObject(number, "SetCharacterZEP");
    if (!object) return;
    if (!hasShapeOfKind(object->body, kShapeEllipsoid)) {
        reportError(message::kCharacterWithoutEllipsoid, number);
        return;
    }
    if (!validSettings(number, slopeLimitDegrees, stepOffset, snapDistance)) return;
    if (!setCharacter(*object->body, slopeLimitDegrees, stepOffset, snapDistance))
        reportOutOfMemory("SetCharacterZEP", number, message::kCharacterNoMemory, number,
                          "the object was not made a character");
}

ZEP_API int32_t ZEPCALL CharacterGroundZEP(int32_t number) {
    const CommandEntry entry("CharacterGroundZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const CharacterRecord* character = characterOf("CharacterGroundZEP", number);
    return character ? character->ground : kInAir;
}

ZEP_API int32_t ZEPCALL CharacterGroundNormZEP(int32_t number, int32_t component) {
    const CommandEntry entry("CharacterGroundNormZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const CharacterRecord* character = characterOf("CharacterGroundNormZEP", number);
    if (!character) return floatResult(0.0f);
    if (warningsWanted()) componentIgnored("CharacterGroundNormZEP", number, component);
    return floatResult(vectorComponent(character->groundNormal, component));
}

ZEP_API int32_t ZEPCALL CharacterGroundObjZEP(int32_t number) {
    const CommandEntry entry("CharacterGroundObjZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const CharacterRecord* character = characterOf("CharacterGroundObjZEP", number);
    return character ? character->groundObject : 0;
}

ZEP_API int32_t ZEPCALL CharacterFlagsZEP(int32_t number) {
    const CommandEntry entry("CharacterFlagsZEP", FromHandler::Allowed);
    if (!entry.admitted()) return 0;
    const CharacterRecord* character = characterOf("CharacterFlagsZEP", number);
    return character ? character->touched : 0;
}

}  // extern "C"
