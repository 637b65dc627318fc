#include "command_table.h"

#include <cstring>

#include "zepcollide.h"

namespace zepscene {

namespace {

float f(int32_t word) { return zepFloat(word); }

constexpr ArgKind I = ArgKind::Int;
constexpr ArgKind F = ArgKind::Float;
constexpr ResultKind None = ResultKind::None;

std::vector<CommandInfo> makeTable() {
    return {
        {"StartCollisionZEP", {}, false, None, [](const int32_t*) { StartCollisionZEP(); return 0; }},
        {"StartCollisionDebugZEP", {}, false, None,
         [](const int32_t*) { StartCollisionDebugZEP(); return 0; }},
        {"StopCollisionZEP", {}, false, None, [](const int32_t*) { StopCollisionZEP(); return 0; }},
        {"SetCollisionZEP", {{"typeA", I}, {"typeB", I}}, true, None,
         [](const int32_t* w) { SetCollisionZEP(w[0], w[1], w[2], w[3], w[4]); return 0; }},
        {"NewCollObjZEP", {{"object", I}, {"type", I}}, false, None,
         [](const int32_t* w) { NewCollObjZEP(w[0], w[1]); return 0; }},
        {"CheckShapeZEP", {{"object", I}, {"kind", I}}, false, ResultKind::Int,
         [](const int32_t* w) { return CheckShapeZEP(w[0], w[1]); }},
        {"AddObjShapeZEP", {{"object", I}, {"kind", I}}, false, None,
         [](const int32_t* w) { AddObjShapeZEP(w[0], w[1]); return 0; }},
        {"ActivateObjZEP", {{"object", I}}, false, None, [](const int32_t* w) { ActivateObjZEP(w[0]); return 0; }},
        {"DeActivateObjZEP", {{"object", I}}, false, None,
         [](const int32_t* w) { DeActivateObjZEP(w[0]); return 0; }},
        {"SetObjRadiusZEP", {{"object", I}, {"rx", F}, {"ry", F}, {"rz", F}}, false, None,
         [](const int32_t* w) { SetObjRadiusZEP(w[0], f(w[1]), f(w[2]), f(w[3])); return 0; }},
        {"AddMeshTri",
         {{"object", I}, {"x1", F}, {"y1", F}, {"z1", F}, {"x2", F}, {"y2", F}, {"z2", F}, {"x3", F},
          {"y3", F}, {"z3", F}},
         false, None,
         [](const int32_t* w) {
             AddMeshTri(w[0], f(w[1]), f(w[2]), f(w[3]), f(w[4]), f(w[5]), f(w[6]), f(w[7]), f(w[8]), f(w[9]));
             return 0;
         }},
        // Takes an address, which a script cannot give; the 'mesh' line does this job.
        {"AddMeshZEP", {{"object", I}, {"block", I}}, false, None, nullptr},
        {"UpdateObjZEP", {{"object", I}, {"x", F}, {"y", F}, {"z", F}}, true, None,
         [](const int32_t* w) { UpdateObjZEP(w[0], f(w[1]), f(w[2]), f(w[3]), w[4], w[5], w[6]); return 0; }},
        {"ResetCollisionStackZEP", {}, false, None, [](const int32_t*) { ResetCollisionStackZEP(); return 0; }},
        {"PeekCollisionStackZEP", {}, false, ResultKind::Int, [](const int32_t*) { return PeekCollisionStackZEP(); }},
        {"RunCollisionZEP", {}, false, None, [](const int32_t*) { RunCollisionZEP(); return 0; }},
        {"PeekObjXZEP", {{"object", I}}, false, ResultKind::Float, [](const int32_t* w) { return PeekObjXZEP(w[0]); }},
        {"PeekObjYZEP", {{"object", I}}, false, ResultKind::Float, [](const int32_t* w) { return PeekObjYZEP(w[0]); }},
        {"PeekObjZZEP", {{"object", I}}, false, ResultKind::Float, [](const int32_t* w) { return PeekObjZZEP(w[0]); }},
        {"FreeObjZEP", {{"object", I}}, false, None, [](const int32_t* w) { FreeObjZEP(w[0]); return 0; }},
        {"CountCollisionsZEP", {{"object", I}}, false, ResultKind::Int,
         [](const int32_t* w) { return CountCollisionsZEP(w[0]); }},
        {"CollisionHit", {{"object", I}, {"contact", I}, {"component", I}}, false, ResultKind::Float,
         [](const int32_t* w) { return CollisionHit(w[0], w[1], w[2]); }},
        {"CollisionHitNorm", {{"object", I}, {"contact", I}, {"component", I}}, false, ResultKind::Float,
         [](const int32_t* w) { return CollisionHitNorm(w[0], w[1], w[2]); }},
        {"CollisionObjHit", {{"object", I}, {"contact", I}}, false, ResultKind::Int,
         [](const int32_t* w) { return CollisionObjHit(w[0], w[1]); }},
        {"CollisionPolyHit", {{"object", I}, {"contact", I}}, false, ResultKind::Int,
         [](const int32_t* w) { return CollisionPolyHit(w[0], w[1]); }},
        {"CollisionTriCorner", {{"object", I}, {"contact", I}, {"corner", I}, {"component", I}}, false,
         ResultKind::Float, [](const int32_t* w) { return CollisionTriCorner(w[0], w[1], w[2], w[3]); }},
        // The character commands, 27 to 31.
        {"SetCharacterZEP", {{"object", I}, {"slopeLimit", F}, {"stepOffset", F}, {"snapDistance", F}}, false, None,
         [](const int32_t* w) { SetCharacterZEP(w[0], f(w[1]), f(w[2]), f(w[3])); return 0; }},
        {"CharacterGroundZEP", {{"object", I}}, false, ResultKind::Int,
         [](const int32_t* w) { return CharacterGroundZEP(w[0]); }},
        {"CharacterGroundNormZEP", {{"object", I}, {"component", I}}, false, ResultKind::Float,
         [](const int32_t* w) { return CharacterGroundNormZEP(w[0], w[1]); }},
        {"CharacterGroundObjZEP", {{"object", I}}, false, ResultKind::Int,
         [](const int32_t* w) { return CharacterGroundObjZEP(w[0]); }},
        {"CharacterFlagsZEP", {{"object", I}}, false, ResultKind::Int,
         [](const int32_t* w) { return CharacterFlagsZEP(w[0]); }},
    };
}

}  // namespace

const std::vector<CommandInfo>& allCommands() {
    static const std::vector<CommandInfo> table = makeTable();
    return table;
}

const CommandInfo* findCommand(std::string_view name) {
    for (const CommandInfo& command : allCommands())
        if (name == command.name) return &command;
    return nullptr;
}

}  // namespace zepscene
