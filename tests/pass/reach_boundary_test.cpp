// The edge of the reach: triangles placed a few ulps inside and outside
// distance 1 of the swept segment (in the mover's unit-sphere space), for
// every kind of hit, must give the same results on the indexed path as on
// the plain one, near the origin and far from it, for tiny and huge radii.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "base/vec3d.h"
#include "support/fixture.h"
#include "support/plain_path.h"
#include "support/records.h"
#include "support/scene.h"

namespace zeptest {
namespace {

// The features are laid out in double, so that only the final corners round.
using D3 = zep::Vec3d;
D3 operator+(D3 a, D3 b) { return zep::along(a, b, 1.0); }
D3 operator*(double s, D3 a) { return {s * a.x, s * a.y, s * a.z}; }
D3 unit(D3 a) { return (1.0 / std::sqrt(zep::dotXYZ(a, a))) * a; }

enum class Feature { kCorner, kEdge, kFaceAhead, kEmbeddedFace, kOverlappedCorner };

struct Case {
    D3 radii;
    D3 offset;      // of the path's start, world units
    bool meshAtOffset;  // the mesh body stands there (small local corners), or at the origin
    D3 direction;   // of the path, unit-sphere space
    double length;  // of the path, radii
    Feature feature;
    int ulps;       // how far past distance 1 the feature stands
};

// Triangles in the mover's unit-sphere space, relative to the path's start.
std::vector<std::array<D3, 3>> featureTriangles(const Case& c, double step) {
    const D3 u = c.direction;
    const D3 w = unit(zep::cross(u, std::fabs(u.y) < 0.9 ? D3{0, 1, 0} : D3{1, 0, 0}));
    const D3 v = zep::cross(u, w);
    const D3 middle = (0.5 * c.length) * u, end = c.length * u;
    const double at = 1.0 + c.ulps * step;
    switch (c.feature) {
        case Feature::kCorner:  // the corner nearest the path, the triangle reaching away from it
            return {{middle + at * w, middle + (at + 0.5) * w + 0.3 * v, middle + (at + 0.5) * w + -0.3 * v}};
        case Feature::kEdge:  // an edge across the path's side, the triangle reaching away
            return {{middle + at * w + -2.0 * v, middle + at * w + 2.0 * v, middle + (at + 1.0) * w}};
        case Feature::kFaceAhead: {  // a wall facing the path, beyond its end
            const D3 p = end + at * u;
            return {{p + -3.0 * w + -3.0 * v, p + 3.0 * w + -3.0 * v, p + 3.0 * v}};
        }
        case Feature::kEmbeddedFace: {  // a floor the start already dips into, the path heading down into it
            const D3 p = (-1.0 + c.ulps * 0.1) * w;
            return {{p + -3.0 * u + -3.0 * v, p + -3.0 * u + 3.0 * v, p + (c.length + 3.0) * u}};
        }
        case Feature::kOverlappedCorner:  // a corner the start overlaps, ahead of it
            return {{(0.5 + c.ulps * 0.05) * u + 0.5 * w, 0.5 * u + 1.5 * w + v, 0.5 * u + 1.5 * w + -1.0 * v}};
    }
    return {};
}

float f(double value) { return float(value); }

// What the host can read after the pass, and every field of each contact.
std::vector<uint32_t> runCase(const Case& c) {
    startMoversOnMeshes();
    const D3 r = c.radii;
    const double largest = std::max({std::fabs(c.offset.x) / r.x, std::fabs(c.offset.y) / r.y, std::fabs(c.offset.z) / r.z});
    const double step = 0x1p-23 * std::max(1.0, largest + c.length);  // an ulp of the coordinates, in radii
    const D3 mesh = c.meshAtOffset ? c.offset : D3{};
    auto local = [&](D3 p) {  // unit-sphere space relative to the start, to the mesh's frame
        return D3{c.offset.x - mesh.x + p.x * r.x, c.offset.y - mesh.y + p.y * r.y, c.offset.z - mesh.z + p.z * r.z};
    };
    NewCollObjZEP(2, 2);
    AddObjShapeZEP(2, ZEP_SHAPE_MESH);
    for (const auto& t : featureTriangles(c, step)) {
        const D3 a = local(t[0]), b = local(t[1]), d = local(t[2]);
        AddMeshTri(2, f(a.x), f(a.y), f(a.z), f(b.x), f(b.y), f(b.z), f(d.x), f(d.y), f(d.z));
    }
    // Far-off filler, so that the mesh's index builds its tree.
    for (int i = 0; i < 300; ++i) {
        const D3 p = local(D3{1e3 + 2.0 * i, 1e3, 1e3});
        AddMeshTri(2, f(p.x), f(p.y), f(p.z), f(p.x + r.x), f(p.y), f(p.z), f(p.x), f(p.y + r.y), f(p.z));
    }
    UpdateObjZEP(2, f(mesh.x), f(mesh.y), f(mesh.z), 0, 0, 0);
    ActivateObjZEP(2);
    const D3 to = c.offset + D3{c.length * c.direction.x * r.x, c.length * c.direction.y * r.y, c.length * c.direction.z * r.z};
    makeMover(1, 1, {f(r.x), f(r.y), f(r.z)}, {f(c.offset.x), f(c.offset.y), f(c.offset.z)});
    moveTo(1, {f(to.x), f(to.y), f(to.z)});
    RunCollisionZEP();
    std::vector<uint32_t> out;
    for (auto peek : {PeekObjXZEP, PeekObjYZEP, PeekObjZZEP}) out.push_back(uint32_t(peek(1)));
    for (const zep::Contact* k = bodyOf(1)->contactsHead; k; k = k->next) appendContact(out, *k);
    return out;
}

TEST(ReachBoundary, FeaturesAtDistanceOneAreTreatedAlikeOnBothPaths) {
    const D3 radiiSets[] = {{1, 1, 1}, {0.01, 0.01, 0.01}, {100, 100, 100}, {0.4, 0.9, 0.4}, {0.01, 2, 100}};
    const D3 offsets[] = {{0, 0, 0}, {1e3, -700, 300}, {1e5, 2e4, -6e4}};
    const D3 directions[] = {unit({1, 0.3, -0.2}), unit({-0.1, -1, 0.05})};
    const Feature features[] = {Feature::kCorner, Feature::kEdge, Feature::kFaceAhead, Feature::kEmbeddedFace,
                                Feature::kOverlappedCorner};
    int cases = 0, hit = 0;
    for (const D3& radii : radiiSets)
        for (const D3& offset : offsets)
            for (bool meshAtOffset : {false, true})
                for (const D3& direction : directions)
                    for (double length : {0.0, 0.5, 40.0, 400.0})
                        for (Feature feature : features)
                            for (int ulps : {-6, -2, 0, 2, 6}) {
                                const Case c{radii, offset, meshAtOffset, direction, length, feature, ulps};
                                const auto [indexed, plain] = bothPaths([&] { return runCase(c); });
                                ASSERT_EQ(indexed, plain)
                                    << "radii " << radii.x << "/" << radii.y << "/" << radii.z << ", offset "
                                    << offset.x << ", mesh at offset " << meshAtOffset << ", length " << length
                                    << ", feature " << int(feature) << ", ulps " << ulps;
                                ++cases;
                                hit += indexed.size() > 3;
                            }
    StopCollisionZEP();
    // Both sides of the boundary were met: a good share of the cases hit.
    EXPECT_GT(hit, cases / 4);
    EXPECT_LT(hit, cases);
}

// The same far movers on both paths: one parked far out, one sent in from
// there onto the floor.
TEST(ReachBoundary, FarMoversAgreeOnBothPaths) {
    const auto results = bothPaths([] {
        startMoversOnMeshes();
        makeMeshObject(2, 2, strip(300));
        for (int mover : {1, 3}) {
            makeMover(mover, 1, {1, 1, 1}, {1e31f, 5, 0.5f});
            moveTo(mover, {1e31f, 5, 0.5f});
        }
        moveTo(3, {10.25f, -5, 0.5f});
        RunCollisionZEP();
        std::vector<int32_t> out;
        for (int mover : {1, 3}) out.insert(out.end(), {PeekObjXZEP(mover), PeekObjYZEP(mover), CountCollisionsZEP(mover)});
        return out;
    });
    StopCollisionZEP();
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0][2], 0);  // the parked mover met nothing
}

}  // namespace
}  // namespace zeptest
