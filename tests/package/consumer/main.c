/* Drops a unit sphere onto a floor through the installed header and library
 * and checks where it lands, to the bit. */
#include <stdio.h>

#include <zepcollide.h>

int main(void) {
    StartCollisionZEP();
    SetCollisionZEP(1, 2, 0, 0, 0);
    NewCollObjZEP(2, 2);
    AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    AddMeshTri(2, -30, 0, -30, -30, 0, 90, 90, 0, -30);
    UpdateObjZEP(2, 0, 0, 0, 0, 0, 0);
    ActivateObjZEP(2);
    NewCollObjZEP(1, 1);
    AddObjShapeZEP(1, ZEP_SHAPE_ELLIPSOID);
    UpdateObjZEP(1, -1, 5, -1, 0, 0, 0);
    ActivateObjZEP(1);
    UpdateObjZEP(1, -1, -5, -1, 0, 0, 0);
    RunCollisionZEP();

    const int landed = zepFloat(PeekObjXZEP(1)) == -1.0f && zepFloat(PeekObjYZEP(1)) == 1.0f &&
                       zepFloat(PeekObjZZEP(1)) == -1.0f && CountCollisionsZEP(1) == 1 &&
                       CollisionObjHit(1, 1) == 2 && CollisionPolyHit(1, 1) == 1;
    StopCollisionZEP();
    printf(landed ? "consumer: landed on the floor\n" : "consumer: wrong landing\n");
    return landed ? 0 : 1;
}
