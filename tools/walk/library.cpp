#include "library.h"

#include <algorithm>
#include <cstdio>

#include "host_block.h"
#include "zepcollide.h"

namespace walk {

namespace {

int errors = 0;
int warnings = 0;

void onError(const char* text, const char*, void*) {
    if (errors++ < 5) std::fprintf(stderr, "library error: %s\n", text);
}

void onWarning(const ZepWarning* warning, void*) {
    if (warnings++ < 5) std::fprintf(stderr, "library warning: %s: %s\n", warning->command, warning->text);
}

float f(double value) { return float(value); }

D3 readVector(int object, int contact, int32_t (*query)(int32_t, int32_t, int32_t)) {
    return {zepFloat(query(object, contact, 1)), zepFloat(query(object, contact, 2)),
            zepFloat(query(object, contact, 3))};
}

}  // namespace

void startLibrary() {
    StartCollisionZEP();
    StartCollisionDebugZEP();
    zepSetMessageHandler(onError, nullptr);
    zepSetWarningHandler(onWarning, nullptr);
    SetCollisionZEP(kWalkerType, kMeshType, 0, 0, 0);
}

int errorCount() { return errors; }
int warningCount() { return warnings; }

void placeMesh(int object, const std::vector<zepscene::Triangle>& triangles) {
    NewCollObjZEP(object, kMeshType);
    AddObjShapeZEP(object, ZEP_SHAPE_MESH);
    constexpr size_t kByCorner = 4;
    const size_t split = std::min(kByCorner, triangles.size());
    for (size_t i = 0; i < split; ++i) {
        const auto& t = triangles[i];
        AddMeshTri(object, t.a.x, t.a.y, t.a.z, t.b.x, t.b.y, t.b.z, t.c.x, t.c.y, t.c.z);
    }
    const std::vector<zepscene::Triangle> rest(triangles.begin() + long(split), triangles.end());
    if (!rest.empty()) AddMeshZEP(object, zepscene::makeHostBlock(rest).data());
    UpdateObjZEP(object, 0, 0, 0, 0, 0, 0);
    ActivateObjZEP(object);
}

void placeWalker(int object, D3 radii, D3 at) {
    NewCollObjZEP(object, kWalkerType);
    AddObjShapeZEP(object, ZEP_SHAPE_ELLIPSOID);
    SetObjRadiusZEP(object, f(radii.x), f(radii.y), f(radii.z));
    UpdateObjZEP(object, f(at.x), f(at.y), f(at.z), 0, 0, 0);
    ActivateObjZEP(object);
}

void moveTo(int object, D3 target) { UpdateObjZEP(object, f(target.x), f(target.y), f(target.z), 0, 0, 0); }

D3 positionOf(int object) {
    return {zepFloat(PeekObjXZEP(object)), zepFloat(PeekObjYZEP(object)), zepFloat(PeekObjZZEP(object))};
}

std::vector<Contact> contactsOf(int object) {
    std::vector<Contact> contacts(size_t(std::max(0, CountCollisionsZEP(object))));
    for (size_t i = 0; i < contacts.size(); ++i) {
        const int k = int(i) + 1;
        contacts[i] = {readVector(object, k, CollisionHitNorm), readVector(object, k, zepCollisionCenter),
                       CollisionObjHit(object, k), CollisionPolyHit(object, k)};
    }
    return contacts;
}

}  // namespace walk
