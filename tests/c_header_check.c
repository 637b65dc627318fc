/* The public header compiles as C89, and its float helper reads a result. */
#include <stdio.h>

#include "zepcollide.h"

int main(void) {
    int ok;
    StartCollisionZEP();
    NewCollObjZEP(1, 1);
    UpdateObjZEP(1, 1.5f, -2.0f, 3.25f, 0, 0, 0);
    ok = zepFloat(PeekObjXZEP(1)) == 1.5f && zepFloat(PeekObjYZEP(1)) == -2.0f &&
             zepFloat(PeekObjZZEP(1)) == 3.25f;
    StopCollisionZEP();
    if (!ok) {
        fprintf(stderr, "C caller read wrong positions\n");
        return 1;
    }
    return 0;
}
