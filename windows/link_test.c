/*
 * A Windows program as a user writes it: it includes zepcollide.h, links
 * against the import library (no LoadLibrary) and calls every command once.
 * Linking proves the import library has the decorated stdcall name of each
 * command the header declares; running proves those names import the plain
 * names zepcollide.dll exports. Two commands are also referenced by their
 * plain names. Compiled as C (link_test.c) and as C++ (link_test.cpp).
 * Prints "link test passed" and exits 0, or names each failed check.
 */
#include <stdio.h>

#include "zepcollide.h"

/* The plain names, as a program that does not use the header links them. */
extern void __stdcall plainStartCollision(void) __asm__("_StartCollisionZEP");
extern int32_t __stdcall plainPeekObjY(int32_t object) __asm__("_PeekObjYZEP");

static int failures = 0;

static void check(int ok, const char* what) {
    if (!ok) {
        printf("FAIL: %s\n", what);
        ++failures;
    }
}

static void checkFloat(int32_t bits, float expected, const char* what) {
    if (zepFloat(bits) != expected) {
        printf("FAIL: %s is %g, not %g\n", what, (double)zepFloat(bits), (double)expected);
        ++failures;
    }
}

int main(void) {
    /* A mesh memory block: a decoy triangle far away, then the floor, so the
     * floor is triangle 2. */
    static const struct {
        uint32_t unused, vertexSize;
        int32_t vertexCount;
        float vertices[6][3];
    } block = {0, 12, 6,
               {{1000, 0, 1000}, {1000, 0, 1001}, {1001, 0, 1000},
                {-30, 0, -30}, {-30, 0, 90}, {90, 0, -30}}};

    plainStartCollision();
    StartCollisionZEP();
    SetCollisionZEP(1, 2, 0, 0, 0);

    NewCollObjZEP(2, 2); /* the floor */
    AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    AddMeshZEP(2, &block);
    UpdateObjZEP(2, 0, 0, 0, 0, 0, 0);
    ActivateObjZEP(2);

    NewCollObjZEP(3, 2); /* a shelf above it, switched off again */
    AddObjShapeZEP(3, ZEP_SHAPE_MESH);
    AddMeshTri(3, -30, 3, -30, -30, 3, 90, 90, 3, -30);
    UpdateObjZEP(3, 0, 0, 0, 0, 0, 0);
    ActivateObjZEP(3);
    DeActivateObjZEP(3);

    NewCollObjZEP(1, 1); /* a sphere of radius 1 that falls from y 5 to -5 */
    AddObjShapeZEP(1, ZEP_SHAPE_ELLIPSOID);
    SetObjRadiusZEP(1, 1.0f, 1.0f, 1.0f);
    check(CheckShapeZEP(1, ZEP_SHAPE_ELLIPSOID) == 1, "CheckShapeZEP(1, ellipsoid) == 1");
    check(CheckShapeZEP(2, ZEP_SHAPE_MESH) == 1, "CheckShapeZEP(2, mesh) == 1");
    UpdateObjZEP(1, -1, 5, -1, 0, 0, 0);
    ActivateObjZEP(1);
    UpdateObjZEP(1, -1, -5, -1, 0, 0, 0);

    ResetCollisionStackZEP();
    check(PeekCollisionStackZEP() == 2, "first active object is 2");
    check(PeekCollisionStackZEP() == 1, "second active object is 1");
    check(PeekCollisionStackZEP() == 0, "the walk ends after two");

    RunCollisionZEP();
    checkFloat(PeekObjXZEP(1), -1, "x");
    checkFloat(PeekObjYZEP(1), 1, "y (resting on the floor, not on the shelf)");
    checkFloat(PeekObjZZEP(1), -1, "z");
    check(plainPeekObjY(1) == PeekObjYZEP(1), "PeekObjYZEP by its plain name");
    check(CountCollisionsZEP(1) == 1, "one contact");
    checkFloat(CollisionHit(1, 1, 2), 0, "contact y");
    checkFloat(CollisionHitNorm(1, 1, 2), 1, "normal y");
    check(CollisionObjHit(1, 1) == 2, "object hit is 2");
    check(CollisionPolyHit(1, 1) == 2, "triangle hit is 2");
    checkFloat(CollisionTriCorner(1, 1, 3, 1), 90, "corner 3 x");

    FreeObjZEP(1);
    check(CountCollisionsZEP(1) == 0, "no contacts after FreeObjZEP");
    StartCollisionDebugZEP();
    StopCollisionZEP();

    if (failures == 0) printf("link test passed\n");
    return failures == 0 ? 0 : 1;
}
