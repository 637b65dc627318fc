// The host's side of the shared scenarios: the command table by ordinal, the
// outcome of checks, the load state every scenario starts from, and the
// list of scenarios.
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "shared/scenario_parts.h"

namespace zeptest {

const char* const kCommandNames[kCommandCount] = {
    "StartCollisionZEP",      "StartCollisionDebugZEP", "StopCollisionZEP",
    "SetCollisionZEP",        "NewCollObjZEP",          "CheckShapeZEP",
    "AddObjShapeZEP",         "ActivateObjZEP",         "DeActivateObjZEP",
    "SetObjRadiusZEP",        "AddMeshTri",             "AddMeshZEP",
    "UpdateObjZEP",           "ResetCollisionStackZEP", "PeekCollisionStackZEP",
    "RunCollisionZEP",        "PeekObjXZEP",            "PeekObjYZEP",
    "PeekObjZZEP",            "FreeObjZEP",             "CountCollisionsZEP",
    "CollisionHit",           "CollisionHitNorm",       "CollisionObjHit",
    "CollisionPolyHit",       "CollisionTriCorner",
};

void setCommand(Commands& commands, int ordinal, void (*address)()) {
    if (ordinal < 1 || ordinal > kCommandCount) return;
    // The fields are kCommandCount function pointers of one size, in ordinal
    // order (checked by the static_assert in the header).
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&commands);
    std::memcpy(bytes + size_t(ordinal - 1) * sizeof address, &address, sizeof address);
}

void Checks::check(bool ok, const char* file, int line, const std::string& what) {
    if (ok) {
        ++passed_;
        return;
    }
    const char* base = std::strrchr(file, '/');
    failures_.push_back(std::string(base ? base + 1 : file) + ":" + std::to_string(line) + ": " +
                        what);
}

std::string describeWord(Word word) {
    char text[48];
    std::snprintf(text, sizeof text, "0x%08" PRIx32 " (%.9g)", word, double(floatOf(word)));
    return text;
}

std::string digestLine(uint64_t digest) {
    char text[64];
    std::snprintf(text, sizeof text, "zepcollide scenario digest: %016" PRIx64, digest);
    return text;
}

void resetWorld(Host& host) {
    host.cmd.StopCollisionZEP();
    // Arming and then failing leaves no message armed, whatever came before:
    // -1 fails the object check whether or not the system is started.
    host.cmd.StartCollisionDebugZEP();
    host.cmd.FreeObjZEP(-1);
    host.boxes.clear();
}

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> all = [] {
        std::vector<Scenario> list = errorScenarios();
        for (const auto& part : {worldScenarios(), passScenarios()}) list.insert(list.end(), part.begin(), part.end());
        return list;
    }();
    return all;
}

}  // namespace zeptest
