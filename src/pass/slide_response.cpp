#include "pass/slide_response.h"

#include <cmath>

#include "base/box3.h"
#include "world/contact.h"
#include "world/sweep_records.h"

namespace zep {

namespace {

// A face hit after this many earlier face contacts means the mover is wedged.
constexpr int kFaceContactsThatWedge = 2;

int faceContactsFrom(const Contact* contact) {
    int count = 0;
    for (; contact; contact = contact->prev)
        if (contact->hitKind == kHitFace) ++count;
    return count;
}

// After a second hit, slide along the crease where the previous contact's
// plane meets this one, instead of following this plane alone (which would
// lead back into the previous surface).
void creaseStep(Contact& contact, const Contact& previous, Vec3 radii, Vec3 end) {
    const Vec3 p = previous.point;
    const Vec3 pn = previous.normal;
    const Vec3 n = contact.normal;
    const Vec3 t = contact.triangle[0];  // corner 1 as stored, mesh frame
    const double d = Dot(Subtract(p, t), n);
    const Vec3 q = Subtract(p, Scale(n, d));
    const double e = Dot(Subtract(q, p), pn);
    const Vec3 r = Subtract(q, Scale(pn, e));
    const Vec3 s = normalized(Subtract(p, r));
    // Parallel planes (or a previous point on this plane) give no crease
    // direction; the slide this sweep computed stands, rather than sending the
    // mover back to the end of a sweep that went through the surface.
    if (isZero(s)) return;
    const Vec3 c = Add(contact.point, MultiplyComponents(n, radii));
    const double f = Dot(Subtract(c, end), s);
    contact.slideDestination = Add(end, Scale(s, f));
    contact.slideVector = Subtract(contact.slideDestination, contact.center);
}

// A crease between a contact and one on the same plane, or on a plane
// tilted by less than rounding can tell, has no direction: Normalize would
// turn the noise of p − r into a unit vector pointing anywhere and shove the
// mover sideways across every seam of a flat floor. Compared in the sweep's
// unit-sphere space, where 1 − cos of the angle between the normals is the
// depth in radii by which the sphere dips into a grazing edge: seams of
// coplanar triangles near the origin tilt by at most about 1e-5 there, and
// half an ulp of the centre's largest coordinate in radii (2^-24 X) bounds
// the height a sweep far from the origin can resolve. Signed, so a floor and
// a ceiling keep their crease.
constexpr double kParallelAtOrigin = 3.0e-5;
constexpr double kParallelPerCoordinate = 0x1p-22;

// NaN anywhere answers no.
bool onParallelPlanes(const Contact& contact, const Contact& previous, Vec3 radii) {
    const Vec3 a = DivideComponents(contact.normal, radii);
    const Vec3 b = DivideComponents(previous.normal, radii);
    const double aa = Dot(a, a);
    const double bb = Dot(b, b);
    const double ab = Dot(a, b);
    const double limit = kParallelAtOrigin + kParallelPerCoordinate * largestInRadii(contact.center, radii);
    return aa > 0.0 && bb > 0.0 && 1.0 - ab / std::sqrt(aa * bb) <= limit;
}

// Along a surface parallel to the previous one: a face keeps the slide its
// sweep computed. An edge goes on to the step's end: it stands at most the
// tolerance above the previous plane, so the end overlaps it by no more than
// that, while its own slide plane passes through the edge's far end and
// would sink the mover.
void slideAlongParallel(Contact& contact, Vec3 end) {
    if (contact.hitKind != kHitEdge) return;
    contact.slideDestination = end;
    contact.slideVector = Subtract(end, contact.center);
}

// The crease of a mover whose radii differ: world normals point from the
// contact to the centre and are weighted by the radii, so the world crease
// line is not where the two surfaces meet. In the unit-sphere space it is.
void creaseStepInUnitSpace(Contact& contact, const Contact& previous, Vec3 radii, Vec3 end) {
    const Vec3 ne = normalized(DivideComponents(contact.normal, radii));
    const Vec3 pne = normalized(DivideComponents(previous.normal, radii));
    const Vec3 s = normalized(Subtract(ne, Scale(pne, Dot(ne, pne))));
    if (isZero(s)) return;  // as in the world-space step: the sweep's slide stands
    const Vec3 centre = DivideComponents(contact.center, radii);
    const Vec3 target = DivideComponents(end, radii);
    const double f = Dot(Subtract(centre, target), s);
    contact.slideDestination = MultiplyComponents(Add(target, Scale(s, f)), radii);
    contact.slideVector = Subtract(contact.slideDestination, contact.center);
}

bool isSphere(Vec3 radii) { return radii.x == radii.y && radii.y == radii.z; }

}  // namespace

bool chooseResponse(Contact& contact, const Contact* previous, Vec3 radii, Vec3 end) {
    if (!previous) return true;
    if (contact.hitKind == kHitVertex) return true;
    if (previous->hitKind == kHitEdge && contact.hitKind == kHitEdge) return true;
    if (contact.hitKind == kHitFace && faceContactsFrom(previous) >= kFaceContactsThatWedge) {
        contact.slideDestination = contact.center;
        return false;
    }
    if (onParallelPlanes(contact, *previous, radii))
        slideAlongParallel(contact, end);
    else if (isSphere(radii))
        creaseStep(contact, *previous, radii, end);
    else
        creaseStepInUnitSpace(contact, *previous, radii, end);
    return true;
}

}  // namespace zep
