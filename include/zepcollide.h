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
 *  - One thread at a time: a command entered while another thread is inside
 *    a command is refused (changes nothing, returns 0, and warns on the
 *    refused thread where a warning handler is set).
 *  - While a warning or message handler runs, it may call only the commands
 *    that read (CheckShapeZEP, PeekObjX/Y/ZZEP, CountCollisionsZEP, the
 *    contact queries 22-26, zepCollisionCenter) and set handlers; any other
 *    command it calls is refused with a warning. What the handler's own calls
 *    get wrong reaches it once more, nested, and no deeper.
 *  - A command that runs out of memory changes nothing (a pass: the mover
 *    whose move it could not keep whole stays where it started), warns
 *    "out of memory: ..." naming itself, and shows the armed box. The texts
 *    are listed in docs/robustness.md.
 *
 * On 32-bit Windows every command is __stdcall and every argument is one
 * 32-bit word; the DLL exports them undecorated with ordinals 1 to 31 in the
 * order below (27 on are this library's own: the character commands).
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

/*
 * The commands. "Fails" below means: the call changes nothing, returns 0 and
 * (once, after StartCollisionDebugZEP) shows the error box with the text
 * given, the number glued to its end: "Object isn't defined: 9", and
 * "Collision object error, system not started1", where the 1 is the number
 * the box always carries for that text. On Linux every failure also goes to
 * the warning handler, each time, with the same text.
 */

/* 1: Starts the system; a second call changes nothing. Every other command
 *    needs it. */
/* 1 */ ZEP_API void ZEPCALL StartCollisionZEP(void);
/* 2: Arms the error box: the next failure, and only that one, is shown.
 *    Call it again to see the one after (on Linux the warning handler sees
 *    every failure). */
/* 2 */ ZEP_API void ZEPCALL StartCollisionDebugZEP(void);
/* 3: Frees every object and rule; the system is stopped until the next
 *    StartCollisionZEP. Safe in any state. */
/* 3 */ ZEP_API void ZEPCALL StopCollisionZEP(void);
/* 4: Ellipsoids of type A slide against meshes of type B (types 0 to 300;
 *    the last three words are ignored). One way only: B does not meet A.
 *    Fails before StartCollisionZEP ("Cannot Set Collision Type, System Not
 *    Started1"); types outside 0 to 300 are ignored without a box. */
/* 4 */ ZEP_API void ZEPCALL SetCollisionZEP(int32_t typeA, int32_t typeB, int32_t unused1,
                                             int32_t unused2, int32_t unused3);
/* 5: Defines object 0 to 5000 with a collision type, inactive, without
 *    shapes, at (0, 0, 0); a number that exists is replaced. Fails before
 *    the start ("Cannot create collision object, system not started1") or
 *    above 5000 ("Object number too high for collision system: N"). */
/* 5 */ ZEP_API void ZEPCALL NewCollObjZEP(int32_t object, int32_t collisionType);
/* 6: 1 if some rule names the object's type on the side of the kind (1: as
 *    the ellipsoid type A, 2: as the mesh type B), else 0. It asks about the
 *    rules, not about the object's own shapes. Fails for an undefined object
 *    ("Object isn't defined: N"), as every command naming an object does. */
/* 6 */ ZEP_API int32_t ZEPCALL CheckShapeZEP(int32_t object, int32_t shapeKind);
/* 7: Adds a shape: 1, an ellipsoid (a unit sphere until SetObjRadiusZEP), or
 *    2, an empty mesh (filled by AddMeshTri or AddMeshZEP). */
/* 7 */ ZEP_API void ZEPCALL AddObjShapeZEP(int32_t object, int32_t shapeKind);
/* 8, 9: Only active objects take part in a pass; an object is inactive until
 *    ActivateObjZEP. A floor never activated is no floor (the warning handler
 *    says so at the next pass). */
/* 8 */ ZEP_API void ZEPCALL ActivateObjZEP(int32_t object);
/* 9 */ ZEP_API void ZEPCALL DeActivateObjZEP(int32_t object);
/* 10: Radii along x, y, z of every ellipsoid of the object, all greater than
 *     zero; fails otherwise ("Ellip radius values must be positive for
 *     object: N"). */
/* 10 */ ZEP_API void ZEPCALL SetObjRadiusZEP(int32_t object, float rx, float ry, float rz);
/* 11: One triangle for every mesh of the object, corners relative to the
 *     object's position. Trap: it is met only from its front, the side of
 *     (corner2 - corner1) x (corner3 - corner1), where its corners run
 *     counter-clockwise; a floor wound the other way is passed through. */
/* 11 */ ZEP_API void ZEPCALL AddMeshTri(int32_t object, float x1, float y1, float z1, float x2,
                                         float y2, float z2, float x3, float y3, float z3);
/* 12: Triangles in bulk: block = { uint32 unused; uint32 vertexSize; int32
 *     vertexCount; vertices... }, each vertex starting with its x, y, z as
 *     floats; every three vertices make one triangle, wound as for 11. */
/* 12 */ ZEP_API void ZEPCALL AddMeshZEP(int32_t object, const void* block);
/* 13: Moves the object: its position becomes the start of its next sweep and
 *     (x, y, z) the end (the last three words are ignored). Traps: a pass
 *     sweeps from the position before the LAST UpdateObjZEP, so two calls
 *     with no pass between place an object without a sweep; a new object
 *     starts at (0, 0, 0), so give a mover two calls (where it is, then
 *     where it goes) before its first pass, or it sweeps in from the origin. */
/* 13 */ ZEP_API void ZEPCALL UpdateObjZEP(int32_t object, float x, float y, float z,
                                           int32_t unused1, int32_t unused2, int32_t unused3);
/* 14, 15: Walk the active objects in activation order: 14 rewinds, 15 returns
 *     the next object number, 0 at the end (so object 0 also reads as 0). */
/* 14 */ ZEP_API void ZEPCALL ResetCollisionStackZEP(void);
/* 15 */ ZEP_API int32_t ZEPCALL PeekCollisionStackZEP(void);
/* 16: One collision pass: each active ellipsoid is swept from start to end
 *     against the active meshes its rules name, sliding along what it hits;
 *     the end becomes the corrected position. Trap: an ellipsoid whose type
 *     no rule names meets nothing and goes wherever it was sent (the
 *     warning handler says so). */
/* 16 */ ZEP_API void ZEPCALL RunCollisionZEP(void);
/* 17-19: The position (corrected by the last pass) as a float result (use
 *     zepFloat). An undefined object fails and reads as 0.0. */
/* 17 */ ZEP_API int32_t ZEPCALL PeekObjXZEP(int32_t object);
/* 18 */ ZEP_API int32_t ZEPCALL PeekObjYZEP(int32_t object);
/* 19 */ ZEP_API int32_t ZEPCALL PeekObjZZEP(int32_t object);
/* 20: Removes the object, its shapes and contacts; contacts of others that
 *     named it stop naming it. */
/* 20 */ ZEP_API void ZEPCALL FreeObjZEP(int32_t object);
/* 21: Contacts of the last pass, 0 if none. Contacts are where the mover
 *     touched something during the pass, each at that moment: not where it
 *     ended, and not what it rests on now. */
/* 21 */ ZEP_API int32_t ZEPCALL CountCollisionsZEP(int32_t object);
/* 22-26 take a contact index from 1 to CountCollisionsZEP and fail past it
 *     ("Collision index out of range: N"); components are 1 (x), 2 (y), 3 (z),
 *     and any other reads as 0.0. */
/* 22: Float result: the contact point, world coordinates. */
/* 22 */ ZEP_API int32_t ZEPCALL CollisionHit(int32_t object, int32_t contact, int32_t component);
/* 23: Float result: the unit direction from the contact point to the
 *     ellipsoid's centre, in world units. Trap: it is not the face normal
 *     except for a sphere on a face; an ellipsoid's leans towards its long
 *     axis. The face normal comes from the corners (26). */
/* 23 */ ZEP_API int32_t ZEPCALL CollisionHitNorm(int32_t object, int32_t contact,
                                                  int32_t component);
/* 24: The number of the object hit. */
/* 24 */ ZEP_API int32_t ZEPCALL CollisionObjHit(int32_t object, int32_t contact);
/* 25: The triangle hit: its 1-based place in the order its mesh received it. */
/* 25 */ ZEP_API int32_t ZEPCALL CollisionPolyHit(int32_t object, int32_t contact);
/* 26: Float result: corner 1-3 of the hit triangle, world coordinates; a
 *     corner outside 1 to 3 fails ("Corner out of range: N"). */
/* 26 */ ZEP_API int32_t ZEPCALL CollisionTriCorner(int32_t object, int32_t contact,
                                                    int32_t corner, int32_t component);

/*
 * Characters (27-31): a mover that walks, falls, climbs steps and stands on
 * floors and platforms, moved by RunCollisionZEP with the character rules
 * instead of the plain collide-and-slide. Y is up. The frame loop stays the
 * same: UpdateObjZEP to where the character wants to be (its walk plus its
 * own vertical speed: gravity and jumps are the host's), RunCollisionZEP,
 * then the position and the ground. The pass splits the wanted move into
 * its level walk and its vertical part:
 *  - a platform (the mesh object it stood on) that moved since the last
 *    pass carries it first;
 *  - the walk: faces steeper than the slope limit (judged by the face's own
 *    normal) are walls, and so is an edge or corner rising more than the
 *    step offset above the ground it stands on; where a walk is blocked it
 *    steps up by at most the step offset onto walkable ground;
 *  - the vertical part: a fall stops on walkable ground (no creeping down a
 *    slope) and slides down steeper ground; a rise is a plain slide;
 *  - a character that was on walkable ground and does not move up stays on
 *    it over drops up to the snap distance.
 * Every part is a sweep of the solver, so a character crosses no wall. Its
 * contacts of the pass read as any mover's; movers that are not characters
 * move exactly as without characters.
 */
/* 27: Makes the object (it must have an ellipsoid; its first ellipsoid is
 *     the one moved) a character, or changes its settings: the slope limit
 *     in degrees (0 to 89.9), the step offset and the snap distance (finite,
 *     0 or more, world units). Fails like the other commands for an
 *     undefined object, and with "Character needs an ellipsoid shape,
 *     object: N", "Character slope limit must be 0 to 89.9 degrees, object:
 *     N" or "Character step and snap must be finite and not negative,
 *     object: N". */
/* 27 */ ZEP_API void ZEPCALL SetCharacterZEP(int32_t object, float slopeLimitDegrees, float stepOffset,
                                              float snapDistance);
/* 28: After the last pass: 0 in the air, 1 on walkable ground, 2 on ground
 *     steeper than the slope limit (0 for an object that is no character). */
/* 28 */ ZEP_API int32_t ZEPCALL CharacterGroundZEP(int32_t object);
/* 29: Float result: component 1-3 of the ground triangle's unit face normal
 *     (for the nose of a stair, the direction from it to the centre); 0.0 in
 *     the air. */
/* 29 */ ZEP_API int32_t ZEPCALL CharacterGroundNormZEP(int32_t object, int32_t component);
/* 30: The object number the character stands on, 0 in the air. */
/* 30 */ ZEP_API int32_t ZEPCALL CharacterGroundObjZEP(int32_t object);
/* 31: What the last pass touched, bits ORed: 1 below (a contact whose
 *     direction to the centre is within the slope limit of up), 4 above
 *     (within it of down), 2 the sides (the rest). */
/* 31 */ ZEP_API int32_t ZEPCALL CharacterFlagsZEP(int32_t object);
#define ZEP_IN_AIR 0
#define ZEP_ON_GROUND 1
#define ZEP_ON_STEEP_GROUND 2
#define ZEP_TOUCHED_BELOW 1
#define ZEP_TOUCHED_SIDES 2
#define ZEP_TOUCHED_ABOVE 4

/*
 * Threads (32). RunCollisionZEP may move its movers on worker threads inside
 * the call, when there are enough of them to pay for it (some 32 movers a
 * thread). The results are the same to the bit as on one thread: positions,
 * contacts and their order, warnings and errors. Nothing else changes: the
 * commands are still called from one host thread at a time, handlers run on
 * that thread, and no worker thread runs outside RunCollisionZEP. The
 * threads are made by the first pass that uses them and ended by
 * StopCollisionZEP.
 */
/* 32: 0 automatic (the default: as many threads as the machine runs at once,
 *     at most 8), 1 the calling thread only, n at most n (at most 16). A
 *     negative count changes nothing and fails with "Collision thread count
 *     must not be negative: N". Kept across StopCollisionZEP. */
/* 32 */ ZEP_API void ZEPCALL SetCollisionThreadsZEP(int32_t count);

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
 * is set at load; a null handler stops the warnings. RunCollisionZEP also
 * warns, once per object and cause, about the usual ways a mover falls
 * through without any error: an ellipsoid whose type no rule moves, a rule
 * whose mesh type has no active mesh, a mesh a rule names that was never
 * activated, a mover UpdateObjZEP moves that was never activated, a mover
 * that went through a triangle from behind (the mesh and the triangle
 * named), a mover placed by one UpdateObjZEP and so swept in from
 * (0, 0, 0), and a path farther than 10^6 of the mover's radii from the
 * position of a mesh it comes near. And every failure of a command comes
 * here too, each time,
 * with command "Collision Error" and the error box's text. Not part of the
 * Windows DLL. */
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

/* C89 has no inline; there the helper is a plain static function. */
#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define ZEP_INLINE static inline
#elif defined(__GNUC__)
#define ZEP_INLINE static __inline__
#else
#define ZEP_INLINE static
#endif

/* Turns a float result (its bit pattern in an integer) back into a float. */
ZEP_INLINE float zepFloat(int32_t bits) {
    float value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

#ifdef __cplusplus
}
#endif

#endif /* ZEPCOLLIDE_H */
