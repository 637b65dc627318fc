#include "support/level_scenarios.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>

#include "support/bits.h"
#include "zepcollide.h"

namespace zeplevels {

namespace {

// ---- Building levels --------------------------------------------------------

V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 unit(V3 v) {
    const float l = std::sqrt(dot(v, v));
    return {v.x / l, v.y / l, v.z / l};
}

// A triangle whose front faces `outward`.
Triangle facing(V3 a, V3 b, V3 c, V3 outward) {
    if (dot(cross(b - a, c - a), outward) < 0) std::swap(b, c);
    return {a, b, c};
}

void addQuad(Piece& piece, V3 a, V3 b, V3 c, V3 d, V3 outward) {
    piece.triangles.push_back(facing(a, b, c, outward));
    piece.triangles.push_back(facing(a, c, d, outward));
}

// A flat quad at height y over [x0, x1] x [z0, z1], facing up.
Piece ground(float x0, float x1, float z0, float z1, float y = 0) {
    Piece piece;
    addQuad(piece, {x0, y, z0}, {x0, y, z1}, {x1, y, z1}, {x1, y, z0}, {0, 1, 0});
    piece.origin = {x0, y, z0};
    return piece;
}

Piece quadPiece(V3 a, V3 b, V3 c, V3 d, V3 outward) {
    Piece piece;
    addQuad(piece, a, b, c, d, outward);
    return piece;
}

// The half-space behind a plane through `point` whose front is `outward`.
Plane behind(V3 outward, V3 point) {
    const V3 n = unit(outward);
    return {n, dot(n, point)};
}

// A box standing on the ground: four sides and a top, seen from outside, and
// a bottom too if `closed` (facing down onto the ground or the box below).
Piece box(V3 low, V3 high, std::vector<Solid>& solids, bool closed = false) {
    Piece piece;
    const V3 c[8] = {{low.x, low.y, low.z},   {high.x, low.y, low.z},   {high.x, low.y, high.z},
                     {low.x, low.y, high.z},  {low.x, high.y, low.z},   {high.x, high.y, low.z},
                     {high.x, high.y, high.z}, {low.x, high.y, high.z}};
    addQuad(piece, c[4], c[5], c[6], c[7], {0, 1, 0});
    if (closed) addQuad(piece, c[0], c[1], c[2], c[3], {0, -1, 0});
    addQuad(piece, c[0], c[1], c[5], c[4], {0, 0, -1});
    addQuad(piece, c[3], c[2], c[6], c[7], {0, 0, 1});
    addQuad(piece, c[0], c[3], c[7], c[4], {-1, 0, 0});
    addQuad(piece, c[1], c[2], c[6], c[5], {1, 0, 0});
    piece.origin = low;
    solids.push_back({behind({0, 1, 0}, high), behind({0, -1, 0}, low), behind({1, 0, 0}, high),
                      behind({-1, 0, 0}, low), behind({0, 0, 1}, high), behind({0, 0, -1}, low)});
    return piece;
}

// A wedge rising along x from height 0 at x0 to `height` at x1, across
// z in [-halfZ, halfZ]: the slope, two sides and a back wall at x1.
Piece wedge(float x0, float x1, float height, float halfZ, std::vector<Solid>& solids) {
    Piece piece;
    const V3 up{-(height / (x1 - x0)), 1, 0};
    addQuad(piece, {x0, 0, -halfZ}, {x0, 0, halfZ}, {x1, height, halfZ}, {x1, height, -halfZ}, up);
    piece.triangles.push_back(facing({x0, 0, -halfZ}, {x1, 0, -halfZ}, {x1, height, -halfZ}, {0, 0, -1}));
    piece.triangles.push_back(facing({x0, 0, halfZ}, {x1, 0, halfZ}, {x1, height, halfZ}, {0, 0, 1}));
    addQuad(piece, {x1, 0, -halfZ}, {x1, 0, halfZ}, {x1, height, halfZ}, {x1, height, -halfZ}, {1, 0, 0});
    piece.origin = {x0, 0, -halfZ};
    solids.push_back({behind(up, {x0, 0, 0}), behind({0, -1, 0}, {0, 0, 0}), behind({1, 0, 0}, {x1, 0, 0}),
                      behind({0, 0, 1}, {0, 0, halfZ}), behind({0, 0, -1}, {0, 0, -halfZ})});
    return piece;
}

// Two slopes meeting along the z axis at y = 0, rising at the given angles
// (degrees) to the left and right.
void valley(Level& level, float leftDegrees, float rightDegrees, float halfX, float halfZ) {
    const float l = std::tan(leftDegrees * 3.14159265f / 180), r = std::tan(rightDegrees * 3.14159265f / 180);
    level.pieces.push_back(quadPiece({-halfX, halfX * l, -halfZ}, {0, 0, -halfZ}, {0, 0, halfZ},
                                     {-halfX, halfX * l, halfZ}, {l, 1, 0}));
    level.pieces.push_back(quadPiece({0, 0, -halfZ}, {halfX, halfX * r, -halfZ}, {halfX, halfX * r, halfZ},
                                     {0, 0, halfZ}, {-r, 1, 0}));
    level.solids.push_back({behind({l, 1, 0}, {0, 0, 0})});
    level.solids.push_back({behind({-r, 1, 0}, {0, 0, 0})});
    level.halfWidth = halfZ;
}

std::vector<Level> makeLevels() {
    std::vector<Level> all;
    // A new level at the end of the list; each is filled in before the next.
    auto level = [&all](const char* name) -> Level& {
        all.emplace_back().name = name;
        return all.back();
    };
    const float h = 12;
    {
        // The plane x + y = 4 facing down and left, meeting the floor at x = 4.
        Level& l = level("overhang");
        l.pieces = {ground(-h, h, -h, h), quadPiece({4, 0, -h}, {4, 0, h}, {-2, 6, h}, {-2, 6, -h}, {-1, -1, 0})};
        l.solids = {{behind({-1, -1, 0}, {4, 0, 0})}};
        l.starts = {{0, 1.2f, 0}, {-3, 1.2f, 4}};
        l.goals = {{7, 0, 0}, {-5, 0, 0}, {7, 0, 6}, {-5, 0, -6}, {3, 0, -2}, {-2, 0, 3}};
    }
    {
        // A shallow ceiling from height 3.5 at x = -4 down to the floor at x = 6.
        Level& l = level("sloped ceiling");
        l.pieces = {ground(-h, h, -h, h),
                    quadPiece({6, 0, -h}, {6, 0, h}, {-4, 3.5f, h}, {-4, 3.5f, -h}, {-0.35f, -1, 0})};
        l.solids = {{behind({-0.35f, -1, 0}, {6, 0, 0}), behind({-1, 0, 0}, {-4, 0, 0})}};
        l.starts = {{-2, 1.2f, 0}, {-6, 1.2f, 5}};
        l.goals = {{8, 0, 0}, {-7, 0, 0}, {5, 0, -6}, {-6, 0, 6}, {2, 0, 4}};
        l.offset = {-37.25f, 3.5f, 12};
    }
    {
        // A ramp rising 2 over 6 with a back wall, walked up, down, across its
        // sides and into its back and foot.
        Level& l = level("ramp on floor");
        l.pieces = {ground(-h, h, -h, h), wedge(0, 6, 2, 3, l.solids)};
        l.starts = {{-4, 1.2f, 0}, {8, 1.2f, -1}, {3, 1.2f, -7}};
        l.goals = {{5, 0, 0}, {-6, 0, 0}, {3, 0, -8}, {3, 0, 8}, {9, 0, 1}, {0.5f, 0, 0.5f}};
    }
    {
        // An inner corner of two walls and an outer corner of two more, each
        // wall its own object.
        Level& l = level("wall corners");
        l.pieces = {ground(-h, h, -h, h),
                    quadPiece({5, 0, -h}, {5, 0, 5}, {5, 4, 5}, {5, 4, -h}, {-1, 0, 0}),
                    quadPiece({-h, 0, 5}, {5, 0, 5}, {5, 4, 5}, {-h, 4, 5}, {0, 0, -1}),
                    quadPiece({-5, 0, -h}, {-5, 0, -5}, {-5, 4, -5}, {-5, 4, -h}, {1, 0, 0}),
                    quadPiece({-h, 0, -5}, {-5, 0, -5}, {-5, 4, -5}, {-h, 4, -5}, {0, 0, 1})};
        l.solids = {{behind({-1, 0, 0}, {5, 0, 0})},
                    {behind({0, 0, -1}, {0, 0, 5})},
                    {behind({1, 0, 0}, {-5, 0, 0}), behind({0, 0, 1}, {0, 0, -5})}};
        l.starts = {{0, 1.2f, 0}, {3, 1.2f, -3}, {-3, 1.2f, 3}};
        l.goals = {{8, 0, 8}, {0, 0, 0}, {8, 0, -6}, {-8, 0, -3}, {-3, 0, -8}, {-6, 0, 8}};
        l.offset = {250.5f, -4, -60.75f};
    }
    {
        // Five box objects as steps 0.3 high and 1 deep, then a drop.
        Level& l = level("box stairs");
        l.pieces = {ground(-h, h, -h, h)};
        for (int k = 0; k < 5; ++k)
            l.pieces.push_back(box({2.0f + k, 0, -3}, {3.0f + k, 0.3f * (k + 1), 3}, l.solids));
        l.starts = {{-3, 1.2f, 0}, {4.5f, 1.2f, -5}};
        l.goals = {{6.5f, 0, 0}, {-4, 0, 0}, {4.5f, 0, -6}, {4.5f, 0, 6}, {9, 0, 0}, {2.5f, 0, 1}};
        l.ownPositions = true;
    }
    {
        // A floor of 4 x 4 tile objects with crates on and across the seams.
        Level& l = level("tiles and crates");
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                l.pieces.push_back(ground(-10.0f + 5 * i, -5.0f + 5 * i, -10.0f + 5 * j, -5.0f + 5 * j));
        l.pieces.push_back(box({-0.5f, 0, -0.5f}, {0.5f, 1, 0.5f}, l.solids));
        l.pieces.push_back(box({4.5f, 0, -3}, {5.5f, 0.6f, -2}, l.solids));
        l.pieces.push_back(box({-6, 0, 4.5f}, {-4.5f, 1.5f, 6}, l.solids));
        l.halfWidth = 10;
        l.starts = {{-7, 1.2f, -7}, {7, 1.2f, 7}, {2, 1.2f, -6}};
        l.goals = {{7, 0, 7}, {-7, 0, -7}, {7, 0, -7}, {-7, 0, 7}, {0, 0, 0}, {5, 0, -2.5f}, {-5.25f, 0, 5.25f}};
        l.offset = {100.5f, -20, 7.25f};
        l.ownPositions = true;
    }
    {
        // A floor of 8 x 8 tile objects 4 wide, closed crates, and closed
        // steps 0.3 high, one standing on another. Sliding along a box's side
        // across the diagonal of its quad, the crease against the nearly
        // parallel edge contact can tip the slide a little downward (about 2%
        // of the radius at worst here); the next pass, embedded, pushes the
        // mover back out.
        Level& l = level("closed crates and steps");
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 8; ++j)
                l.pieces.push_back(ground(-16.0f + 4 * i, -12.0f + 4 * i, -16.0f + 4 * j, -12.0f + 4 * j));
        const V3 lows[] = {{-10, 0, -10}, {-2, 0, -13}, {-13, 0, -1}, {-6, 0, -6}, {-5, 0.3f, -5}, {1, 0, 1}};
        const V3 highs[] = {{-8, 1.5f, -8}, {-1, 2, -7}, {-7, 1, 0}, {-2, 0.3f, -2}, {-3, 0.6f, -3}, {5, 0.25f, 4}};
        for (int k = 0; k < 6; ++k) l.pieces.push_back(box(lows[k], highs[k], l.solids, true));
        l.halfWidth = 16;
        l.starts = {{-15, 1.2f, -15}, {-7, 1.2f, -4}, {0, 1.2f, 6}};
        l.goals = {{-4, 0, -4}, {-9, 0, -9}, {3, 0, 2.5f}, {-1.5f, 0, -10}, {-10, 0, -0.5f}, {12, 0, 12}, {-14, 0, 14}};
        l.ownPositions = true;
        l.allowedDip = 0.05;
    }
    {
        // Movers dropped from above beside and onto a 35 degree slope.
        Level& l = level("drop beside slope");
        l.pieces = {ground(-h, h, -h, h), wedge(0, 4, 2.8f, 4, l.solids)};
        l.starts = {{-0.5f, 4, 0}, {1.5f, 5, 1}, {3.5f, 6, -2}, {4.6f, 3, 2}, {-1.5f, 2.5f, -3}, {2, 3.5f, 3.8f}};
        l.goals = {{2, 0, 0}, {-3, 0, 0}, {6, 0, 0}, {2, 0, -6}};
        l.gravity = 0.8f;
    }
    {
        Level& l = level("V-valley 40/40");
        valley(l, 40, 40, 6, 15);
        l.starts = {{0.5f, 2.5f, -10}, {-2, 3.5f, 0}, {2.5f, 4.5f, 8}};
        l.goals = {{0, 0, 12}, {0, 0, -12}, {-4, 0, 0}, {4, 0, 6}, {-3, 0, -8}};
    }
    {
        Level& l = level("V-valley 25/60");
        valley(l, 25, 60, 6, 15);
        l.starts = {{-1, 2.5f, -10}, {-3, 3.5f, 0}, {2.5f, 6, 8}};
        l.goals = {{0, 0, 12}, {0, 0, -12}, {-4, 0, 0}, {3, 0, 6}, {-3, 0, -8}};
        l.offset = {-3.5f, 17, 1000.25f};
    }
    return all;
}

// ---- Measuring --------------------------------------------------------------

struct D3 {
    double x, y, z;
};
D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3 operator+(D3 a, D3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
D3 operator*(D3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3 cross(D3 a, D3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
D3 inRadii(V3 p, V3 r) { return {double(p.x) / r.x, double(p.y) / r.y, double(p.z) / r.z}; }

// The point of triangle abc closest to p; `inside` when it lies within the
// face rather than on an edge or corner.
D3 closestOnTriangle(D3 p, D3 a, D3 b, D3 c, bool& inside) {
    inside = false;
    const D3 ab = b - a, ac = c - a, ap = p - a;
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return a;
    const D3 bp = p - b;
    const double d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return b;
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
    const D3 cp = p - c;
    const double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return c;
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    const double total = va + vb + vc;
    if (!(total > 0)) return a;  // degenerate
    inside = true;
    return a + ab * (vb / total) + ac * (vc / total);
}

// How far an ellipsoid with these radii at `centre` reaches into the
// triangle, in radii along the direction of the closest point: measured in
// the space where the ellipsoid is a unit sphere, 1 minus the distance to the
// triangle. Along a face normal n this is the world depth over the extent
// sqrt(sum (r_i n_i)^2). A centre less than a radius behind a face, over it,
// has sunk through it and reaches more than 1; farther behind, the face is
// the far side of something else. Negative when clear.
double reachInto(V3 centre, V3 radii, const Triangle& t) {
    const D3 p = inRadii(centre, radii), a = inRadii(t[0], radii), b = inRadii(t[1], radii),
             c = inRadii(t[2], radii);
    bool inside = false;
    const D3 q = closestOnTriangle(p, a, b, c, inside);
    const D3 n = cross(b - a, c - a);
    const double nn = dot(n, n);
    const double height = nn > 0 ? dot(p - a, n) / std::sqrt(nn) : 0;
    if (inside && height < 0 && height > -1) return 1 - height;
    return 1 - std::sqrt(dot(p - q, p - q));
}

bool insideSolid(V3 p, const Solid& solid) {
    constexpr float kMargin = 1e-4f;
    for (const Plane& plane : solid)
        if (!(dot(plane.n, p) < plane.d - kMargin)) return false;
    return true;
}

V3 position(int object) {
    return {zepFloat(PeekObjXZEP(object)), zepFloat(PeekObjYZEP(object)), zepFloat(PeekObjZZEP(object))};
}

struct MoverKind {
    const char* name;
    V3 radii;
};
constexpr MoverKind kMovers[] = {{"sphere", {1, 1, 1}}, {"0.4x0.9x0.4", {0.4f, 0.9f, 0.4f}}};
constexpr int kFirstMesh = 100;

struct Layout {
    const char* name;
    bool reversed, merged, own;
};

// Every layout of a level, each object order's merged layout first: the
// split layouts are compared with it.
std::vector<Layout> layoutsOf(const Level& level) {
    std::vector<Layout> all;
    for (bool reversed : {false, true}) {
        all.push_back({reversed ? "merged reversed" : "merged", reversed, true, false});
        all.push_back({reversed ? "objects reversed" : "objects", reversed, false, false});
        if (level.ownPositions)
            all.push_back({reversed ? "own positions reversed" : "own positions", reversed, false, true});
    }
    return all;
}

struct MoverRun {
    V3 radii;
    float speed;
    std::string name;
    std::vector<V3> track;  // the position after each pass
    bool fell = false, passedThrough = false;
};

// Deterministic in [0, 1), the same on every platform.
float unitDraw(std::mt19937& random) { return float(random() >> 8) * 0x1p-24f; }

void buildLevel(const Level& level, const Layout& layout) {
    StopCollisionZEP();
    StartCollisionZEP();
    SetCollisionZEP(1, 2, 0, 0, 0);
    std::vector<const Piece*> order;
    for (const Piece& piece : level.pieces) order.push_back(&piece);
    if (layout.reversed) std::reverse(order.begin(), order.end());
    const int objects = layout.merged ? 1 : int(order.size());
    for (int i = 0; i < objects; ++i) {
        const int number = kFirstMesh + i;
        NewCollObjZEP(number, 2);
        AddObjShapeZEP(number, ZEP_SHAPE_MESH);
        const V3 origin = layout.own ? order[i]->origin : V3{0, 0, 0};
        for (const Piece* piece : order) {
            if (!layout.merged && piece != order[i]) continue;
            for (const Triangle& t : piece->triangles) {
                const V3 a = t[0] - origin, b = t[1] - origin, c = t[2] - origin;
                AddMeshTri(number, a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z);
            }
        }
        const V3 at = level.offset + origin;
        UpdateObjZEP(number, at.x, at.y, at.z, 0, 0, 0);
        ActivateObjZEP(number);
    }
}

// Notes the first fault of each kind on a level.
void note(Report& report, const char* what, const Layout& layout, const MoverRun& run, int frame, V3 at,
          double amount = 0) {
    for (const std::string& noted : report.notes)
        if (noted.rfind(what, 0) == 0) return;
    char by[32] = "";
    if (amount > 0) std::snprintf(by, sizeof by, ", by %.4g", amount);
    char text[360];
    std::snprintf(text, sizeof text, "%s: %s, %s, frame %d, (%.3f, %.3f, %.3f)%s", what, layout.name,
                  run.name.c_str(), frame, at.x, at.y, at.z, by);
    report.notes.push_back(text);
}

// Runs every mover through one layout of the level, adding to the report;
// returns the runs with their tracks.
std::vector<MoverRun> runLayout(const Level& level, const Layout& layout, const Options& options, Report& report) {
    buildLevel(level, layout);
    std::vector<MoverRun> runs;
    for (size_t s = 0; s < level.starts.size(); ++s)
        for (const MoverKind& kind : kMovers)
            for (float speed : options.speeds) {
                char name[96];
                std::snprintf(name, sizeof name, "%s at speed %g from start %zu", kind.name, speed, s + 1);
                runs.push_back({kind.radii, speed, name, {}});
                const int number = int(runs.size());
                const V3 at = level.offset + level.starts[s];
                NewCollObjZEP(number, 1);
                AddObjShapeZEP(number, ZEP_SHAPE_ELLIPSOID);
                SetObjRadiusZEP(number, kind.radii.x, kind.radii.y, kind.radii.z);
                UpdateObjZEP(number, at.x, at.y, at.z, 0, 0, 0);
                ActivateObjZEP(number);
            }
    const int movers = int(runs.size());
    std::vector<Triangle> triangles;  // the level in world coordinates
    for (const Piece& piece : level.pieces)
        for (const Triangle& t : piece.triangles)
            triangles.push_back({level.offset + t[0], level.offset + t[1], level.offset + t[2]});
    std::mt19937 random(20240611u);
    std::vector<V3> before(movers), heading(movers);
    std::vector<float> step(movers);
    for (int frame = 0; frame < options.frames; ++frame) {
        for (int m = 0; m < movers; ++m) {
            const V3 p = position(m + 1);
            const size_t g = (size_t(frame / options.framesPerGoal) + size_t(m)) % level.goals.size();
            const V3 goal = level.offset + level.goals[g];
            const float dx = goal.x - p.x, dz = goal.z - p.z;
            const float distance = std::sqrt(dx * dx + dz * dz);
            const float angle = std::atan2(dz, dx) + (unitDraw(random) - 0.5f) * 0.7f;
            before[m] = p;
            heading[m] = {std::cos(angle), 0, std::sin(angle)};
            step[m] = distance > 1e-3f ? std::min(runs[m].speed, distance) : 0.0f;
            UpdateObjZEP(m + 1, p.x + heading[m].x * step[m], p.y - level.gravity, p.z + heading[m].z * step[m], 0,
                         0, 0);
        }
        RunCollisionZEP();
        for (int m = 0; m < movers; ++m) {
            MoverRun& run = runs[m];
            const V3 p = position(m + 1);
            run.track.push_back(p);
            ++report.moverFrames;
            const V3 local = p - level.offset;
            if (!run.fell && (!(local.y >= level.lowestFloor) || !(std::fabs(local.x) <= level.halfWidth) ||
                              !(std::fabs(local.z) <= level.halfWidth))) {
                run.fell = true;
                ++report.falls;
                note(report, "fell", layout, run, frame, local);
            }
            if (!run.passedThrough)
                for (const Solid& solid : level.solids)
                    if (insideSolid(local, solid)) {
                        run.passedThrough = true;
                        ++report.passThroughs;
                        note(report, "passed through", layout, run, frame, local);
                        break;
                    }
            for (const Triangle& t : triangles) report.deepest = std::max(report.deepest, reachInto(p, run.radii, t));
            // Overlaps of the triangles this pass touched, their corners as the
            // contact queries give them.
            const int count = CountCollisionsZEP(m + 1);
            report.contacts += count;
            double overlap = 0;
            bool facedStep = false;
            for (int i = 1; i <= count; ++i) {
                Triangle t;
                for (int corner = 0; corner < 3; ++corner)
                    t[corner] = {zepFloat(CollisionTriCorner(m + 1, i, corner + 1, 1)),
                                 zepFloat(CollisionTriCorner(m + 1, i, corner + 1, 2)),
                                 zepFloat(CollisionTriCorner(m + 1, i, corner + 1, 3))};
                overlap = std::max(overlap, reachInto(p, run.radii, t));
                const V3 n{zepFloat(CollisionHitNorm(m + 1, i, 1)), zepFloat(CollisionHitNorm(m + 1, i, 2)),
                           zepFloat(CollisionHitNorm(m + 1, i, 3))};
                facedStep = facedStep || dot(n, heading[m]) < -0.01f;
            }
            if (overlap > options.overlapEpsilon) {
                ++report.overlapPasses;
                report.deepestOverlap = std::max(report.deepestOverlap, overlap);
                note(report, "overlap", layout, run, frame, local, overlap);
            }
            // Stuck: asked to step, moved less than 1% of the step across the
            // ground, and nothing it touched faced against the step.
            const float mx = p.x - before[m].x, mz = p.z - before[m].z;
            if (step[m] > 0 && std::sqrt(mx * mx + mz * mz) < 0.01f * step[m] && !facedStep) {
                ++report.stuckFrames;
                note(report, "stuck", layout, run, frame, local);
            }
        }
    }
    report.runs += movers;
    return runs;
}

// Each split run against the merged run of the same movers, frame by frame;
// notes the first frame where a run leaves the merged track.
void compare(const Level& level, const Layout& layout, const std::vector<MoverRun>& split,
             const std::vector<MoverRun>& merged, Report& report) {
    const bool shared = !layout.own;
    for (size_t m = 0; m < split.size(); ++m) {
        int firstDifference = -1;
        for (size_t f = 0; f < split[m].track.size(); ++f) {
            const V3 a = split[m].track[f], b = merged[m].track[f];
            if (firstDifference < 0 && !(zeptest::sameBits(a.x, b.x) && zeptest::sameBits(a.y, b.y) && zeptest::sameBits(a.z, b.z))) {
                firstDifference = int(f);
                const V3 d = a - b;
                note(report, shared ? "differs from merged" : "own positions differ from merged", layout, split[m],
                     firstDifference, a - level.offset, std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)}));
            }
            report.maxDifference = std::max({report.maxDifference, std::fabs(double(a.x) - b.x),
                                             std::fabs(double(a.y) - b.y), std::fabs(double(a.z) - b.z)});
        }
        ++report.comparedRuns;
        report.bitEqualRuns += firstDifference < 0;
        if (shared) {
            ++report.sharedRuns;
            report.sharedMismatches += firstDifference >= 0;
        }
    }
}

}  // namespace

const std::vector<Level>& levels() {
    static const std::vector<Level> all = makeLevels();
    return all;
}

Report runLevel(const Level& level, const Options& options) {
    Report report;
    report.level = level.name;
    std::vector<MoverRun> mergedRuns;
    for (const Layout& layout : layoutsOf(level)) {
        std::vector<MoverRun> runs = runLayout(level, layout, options, report);
        if (layout.merged) mergedRuns = std::move(runs);
        else compare(level, layout, runs, mergedRuns, report);
    }
    StopCollisionZEP();
    return report;
}

std::vector<std::string> layoutNames(const Level& level) {
    std::vector<std::string> names;
    for (const Layout& layout : layoutsOf(level)) names.push_back(layout.name);
    return names;
}

Report runLevelLayout(const Level& level, const std::string& name, const Options& options) {
    const std::vector<Layout> layouts = layoutsOf(level);
    const auto layout = std::find_if(layouts.begin(), layouts.end(), [&](const Layout& l) { return name == l.name; });
    Report report;
    report.level = level.name + ", " + name;
    if (layout == layouts.end()) {
        report.notes.push_back("no layout named " + name);
        return report;
    }
    std::vector<MoverRun> mergedRuns;
    if (!layout->merged) {
        Report merged;  // its faults are its own layout's
        const auto same = std::find_if(layouts.begin(), layouts.end(),
                                       [&](const Layout& l) { return l.merged && l.reversed == layout->reversed; });
        mergedRuns = runLayout(level, *same, options, merged);
    }
    const std::vector<MoverRun> runs = runLayout(level, *layout, options, report);
    if (!layout->merged) compare(level, *layout, runs, mergedRuns, report);
    StopCollisionZEP();
    return report;
}

std::string tableHeader() {
    return "| level | runs | falls | through | deepest | overlap passes | deepest overlap | stuck | = merged | max diff |\n"
           "|---|---|---|---|---|---|---|---|---|---|";
}

std::string tableRow(const Report& r) {
    char text[400];
    std::snprintf(text, sizeof text, "| %s | %d | %d | %d | %.3g | %ld (%.2f%%) | %.3g | %ld | %d/%d | %.3g |",
                  r.level.c_str(), r.runs, r.falls, r.passThroughs, std::max(0.0, r.deepest), r.overlapPasses,
                  r.moverFrames ? 100.0 * double(r.overlapPasses) / double(r.moverFrames) : 0.0, r.deepestOverlap,
                  r.stuckFrames, r.bitEqualRuns, r.comparedRuns, r.maxDifference);
    return text;
}

}  // namespace zeplevels
