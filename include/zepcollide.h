/*
 * zepcollide: swept-ellipsoid collision for 3D games.
 *
 * A host program drives the library through 26 numbered commands. It builds a
 * world of collision objects (ellipsoids that move, triangle meshes that are
 * met), moves its objects once per frame, runs one collision pass and reads
 * back corrected positions and contacts. Everything is named by number.
 *
 * Conventions every command follows:
 *  - Object numbers run from 0 to 5000 and are compared as unsigned 32-bit
 *    values, so a negative number counts as too high.
 *  - No command returns an error code. A failed command changes nothing and
 *    returns 0 (or the bit pattern of 0.0f). After StartCollisionDebugZEP the
 *    first failure is reported once through the error box (on Windows a
 *    MessageBoxA, elsewhere the handler set with zepSetMessageHandler).
 *  - Commands with a float result return the float's 32-bit pattern in an
 *    integer, exactly as the 32-bit Windows host reads it; use zepFloat() to
 *    turn such a result back into a float.
 *  - Indices, corners and components are 1-based; component 1 is x, 2 is y,
 *    3 is z.
 *
 * On 32-bit Windows every command is __stdcall and every argument is one
 * 32-bit word; the DLL exports them undecorated with ordinals 1 to 26 in the
 * order below.
 */
#ifndef ZEPCOLLIDE_H
#define ZEPCOLLIDE_H

#include <stdint.h>
#include <string.h>

#if defined(_WIN32) && !defined(_WIN64)
#define ZEPCALL __stdcall
#else
#define ZEPCALL
#endif

#ifndef ZEP_API
#if defined(_WIN32)
#define ZEP_API
#else
#define ZEP_API __attribute__((visibility("default")))
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Shape kinds for AddObjShapeZEP and CheckShapeZEP. */
#define ZEP_SHAPE_ELLIPSOID 1 /* the moving side of a rule */
#define ZEP_SHAPE_MESH 2      /* the side that is met */

/* 1 */ ZEP_API void ZEPCALL StartCollisionZEP(void);
/* 2 */ ZEP_API void ZEPCALL StartCollisionDebugZEP(void);
/* 3 */ ZEP_API void ZEPCALL StopCollisionZEP(void);
/* 4: ellipsoids of type A slide against meshes of type B (types 0 to 300). */
/* 4 */ ZEP_API void ZEPCALL SetCollisionZEP(int32_t typeA, int32_t typeB, int32_t unused1,
                                             int32_t unused2, int32_t unused3);
/* 5: defining a number that exists replaces that object. */
/* 5 */ ZEP_API void ZEPCALL NewCollObjZEP(int32_t object, int32_t collisionType);
/* 6 */ ZEP_API int32_t ZEPCALL CheckShapeZEP(int32_t object, int32_t shapeKind);
/* 7 */ ZEP_API void ZEPCALL AddObjShapeZEP(int32_t object, int32_t shapeKind);
/* 8 */ ZEP_API void ZEPCALL ActivateObjZEP(int32_t object);
/* 9 */ ZEP_API void ZEPCALL DeActivateObjZEP(int32_t object);
/* 10: radii must all be greater than zero. */
/* 10 */ ZEP_API void ZEPCALL SetObjRadiusZEP(int32_t object, float rx, float ry, float rz);
/* 11: corners relative to the object's position; the front is the side of
 *     (corner2 - corner1) x (corner3 - corner1). */
/* 11 */ ZEP_API void ZEPCALL AddMeshTri(int32_t object, float x1, float y1, float z1, float x2,
                                         float y2, float z2, float x3, float y3, float z3);
/* 12: block = { uint32 unused; uint32 vertexSize; int32 vertexCount; vertices... },
 *     each vertex starting with its x, y, z as floats; every three vertices
 *     make one triangle. */
/* 12 */ ZEP_API void ZEPCALL AddMeshZEP(int32_t object, const void* block);
/* 13 */ ZEP_API void ZEPCALL UpdateObjZEP(int32_t object, float x, float y, float z,
                                           int32_t unused1, int32_t unused2, int32_t unused3);
/* 14 */ ZEP_API void ZEPCALL ResetCollisionStackZEP(void);
/* 15: next active object in activation order, 0 at the end (object 0 also
 *     reads as 0). */
/* 15 */ ZEP_API int32_t ZEPCALL PeekCollisionStackZEP(void);
/* 16 */ ZEP_API void ZEPCALL RunCollisionZEP(void);
/* 17-19: float results (use zepFloat). */
/* 17 */ ZEP_API int32_t ZEPCALL PeekObjXZEP(int32_t object);
/* 18 */ ZEP_API int32_t ZEPCALL PeekObjYZEP(int32_t object);
/* 19 */ ZEP_API int32_t ZEPCALL PeekObjZZEP(int32_t object);
/* 20 */ ZEP_API void ZEPCALL FreeObjZEP(int32_t object);
/* 21 */ ZEP_API int32_t ZEPCALL CountCollisionsZEP(int32_t object);
/* 22: float result, contact point. */
/* 22 */ ZEP_API int32_t ZEPCALL CollisionHit(int32_t object, int32_t contact, int32_t component);
/* 23: float result, unit normal from the contact point to the centre. */
/* 23 */ ZEP_API int32_t ZEPCALL CollisionHitNorm(int32_t object, int32_t contact,
                                                  int32_t component);
/* 24 */ ZEP_API int32_t ZEPCALL CollisionObjHit(int32_t object, int32_t contact);
/* 25 */ ZEP_API int32_t ZEPCALL CollisionPolyHit(int32_t object, int32_t contact);
/* 26: float result, corner 1-3 of the hit triangle in world coordinates. */
/* 26 */ ZEP_API int32_t ZEPCALL CollisionTriCorner(int32_t object, int32_t contact,
                                                    int32_t corner, int32_t component);

#if !defined(_WIN32)
/* Stand-in for the Windows error box: called with the complete message and
 * the caption "Collision Error" each time the box would be shown. A null
 * handler restores the default, one line "Collision Error: <message>" on
 * standard error. */
typedef void (*ZepMessageHandler)(const char* text, const char* caption, void* context);
ZEP_API void zepSetMessageHandler(ZepMessageHandler handler, void* context);

/* Warnings for calls that the commands ignore without any error box, even
 * after StartCollisionDebugZEP: a triangle given to an object without a mesh
 * shape, a collision type outside 0 to 300, a shape kind other than 1 and 2,
 * an infinite radius, a non-finite position or corner, a malformed mesh
 * block header, a component outside 1 to 3, a command before
 * StartCollisionZEP, and the like. The handler gets one warning per such call;
 * results, error boxes and the world are exactly as without it. No handler
 * is set at load; a null handler stops the warnings. Not part of the Windows
 * DLL. */
typedef struct ZepWarning {
    const char* command; /* the command's name, e.g. "AddMeshTri" */
    int32_t object;      /* the object number the call named, if hasObject */
    int32_t hasObject;   /* 0 for commands that name no object */
    const char* text;    /* what was ignored and why */
} ZepWarning;
typedef void (*ZepWarningHandler)(const ZepWarning* warning, void* context);
ZEP_API void zepSetWarningHandler(ZepWarningHandler handler, void* context);

/* Float result: component 1-3 of the mover's centre at the moment it made
 * contact `contact` (1-based, as for CollisionHit), in world coordinates.
 * With the contacts in order, the pass's start, these centres and the
 * corrected position trace the path the pass took. Not part of the Windows
 * DLL. */
ZEP_API int32_t zepCollisionCenter(int32_t object, int32_t contact, int32_t component);
#endif

/* Turns a float result (its bit pattern in an integer) back into a float. */
static inline float zepFloat(int32_t bits) {
    float value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

#ifdef __cplusplus
}
#endif

#endif /* ZEPCOLLIDE_H */
