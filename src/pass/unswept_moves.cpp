#include "pass/unswept_moves.h"

#include "pass/pass_work.h"
#include "pass/step_meshes.h"
#include "sweep/crossing.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zep {

namespace {

// A walker on a floor meets it embedded by a rounding error on nearly every
// pass (pushes of about 1e-6 radii), and a push that short can only cross a
// triangle the centre already lies on: checking those would cost 40% of a
// pass. Squared, in radii.
constexpr double kShortestCheckedPushSquared = 0x1p-20;

// True when the leg from `start` to `legEnd` (world) crosses the triangle of
// any contact in the mover's list, or sinks more than half a radius into it
// (contacts whose mesh is gone are passed over).
bool legEntersMetTriangle(const CollisionBody& mover, Vec3 radii, Vec3 start, Vec3 legEnd) {
    for (const Contact* contact = mover.contactsHead; contact; contact = contact->next) {
        const MeshShape* mesh = contact->meshShape;
        if (!mesh || !mesh->header.body) continue;
        const Vec3 meshPosition = mesh->header.body->currentPosition;
        if (segmentCrossesTriangle(start, legEnd, contact->triangle, meshPosition)) return true;
        if (legSinksIntoTriangle(start, legEnd, contact->triangle, meshPosition, radii)) return true;
    }
    return false;
}

// When a leg enters a met triangle so, ends the chain: the mover rests at
// its last contact's centre, and the answer is true.
bool restsBeforeMetTriangle(CollisionBody& mover, Vec3 radii, Vec3 start, Vec3 legEnd) {
    if (!mover.contactsHead || !legEntersMetTriangle(mover, radii, start, legEnd)) return false;
    Contact& last = *mover.contactsTail;
    last.slideDestination = last.center;
    last.slideVector = Vec3{0.0f, 0.0f, 0.0f};
    return true;
}

// True when a step's hit, whose centre in world units is `legEnd`, pushed
// the centre out of an embedded face from `start` by more than rounding
// makes.
bool isPushOut(const SweepResult& hit, Vec3 legEnd, Vec3 start, Vec3 radii) {
    if (hit.hitKind != kHitFace || hit.hitTime != 0.0f) return false;
    const double dx = (double(legEnd.x) - double(start.x)) / double(radii.x);
    const double dy = (double(legEnd.y) - double(start.y)) / double(radii.y);
    const double dz = (double(legEnd.z) - double(start.z)) / double(radii.z);
    return sumXYZ(dx * dx, dy * dy, dz * dz) > kShortestCheckedPushSquared;
}

// The face is met where the step started; the slide its sweep computed
// stands, now taken from there.
void meetFaceAtStart(Contact& contact, Vec3 start) {
    contact.center = start;
    Normalize(contact.normal, Subtract(contact.center, contact.point));
    contact.moveToContact = Vec3{0.0f, 0.0f, 0.0f};
    contact.moveLength = 0.0f;
    contact.slideVector = Subtract(contact.slideDestination, contact.center);
}

// The push-out rule of a chain: a push out is held when one was already
// made in this call (a mover squeezed between surfaces would be thrown along
// a chain of them) or when it crosses a triangle of the chain's meshes;
// otherwise it is made and counted in `pushOuts`. True when the push out
// from `start` to `legEnd` is held.
bool holdsPushOut(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, Vec3 start, Vec3 legEnd,
                  int& pushOuts) {
    if (pushOuts > 0 || chainCrossedBy(pass, ellipsoid, chain, start, legEnd)) return true;
    ++pushOuts;
    return false;
}

}  // namespace

Contact* guardedStepContact(Pass& pass, EllipsoidShape& ellipsoid, const ChainMeshes& chain, const SweepResult* hit,
                            MeshShape* mesh, Vec3 start, Vec3 end, int& pushOuts) {
    CollisionBody& mover = *ellipsoid.header.body;
    const Vec3 legEnd = hit ? hitCentreInWorld(*hit, mesh->header.body->currentPosition) : end;
    // A push out of an embedded face is not swept either. Whether it is held
    // is settled first: a held one leaves the centre where it is, so its leg
    // is the start alone and goes through nothing.
    const bool held = hit && isPushOut(*hit, legEnd, start, ellipsoid.radii) &&
                      holdsPushOut(pass, ellipsoid, chain, start, legEnd, pushOuts);
    // The sweep left out the triangles met earlier in the pass; a leg
    // into one of them is not taken.
    if (restsBeforeMetTriangle(mover, ellipsoid.radii, start, held ? start : legEnd) || !hit) return nullptr;
    const MeshListing listing = pass.work.sweep.sharedMeshes ? MeshListing::kLater : MeshListing::kNow;
    Contact* contact = appendHitContact(&mover, mesh, *hit, listing);
    if (contact && held) meetFaceAtStart(*contact, start);
    return contact;
}

}  // namespace zep
