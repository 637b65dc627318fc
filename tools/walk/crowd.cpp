#include "crowd.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <numbers>

#include "library.h"
#include "pass_checks.h"
#include "spawn.h"
#include "zepcollide.h"

namespace walk {

namespace {

// Object numbers: walkers from 1 (a replaced walker takes the number
// kWalkerBlock above its old one, and back), level pieces and the sky high up.
constexpr int kWalkerBlock = 1500;
constexpr int kFirstPiece = 4000;
constexpr int kSkyObject = 4900;

// A player in Quake units at 60 frames per second: 320 units/s walking,
// 800 units/s^2 gravity, falling at most 960 units/s.
constexpr double kWalkPerFrame = 320.0 / 60;
constexpr double kGravityPerFrame = 800.0 / 3600;
constexpr double kMaxFallPerFrame = 960.0 / 60;
constexpr double kFloorY = 0.7;      // a contact normal's y above this is a floor
// As characters: a slope limit of 45 degrees, and a player's step of 18
// units (as far down to stay on the floor).
constexpr float kCharacterSlope = 45.0f;
constexpr double kCharacterStep = 18.0;
constexpr double kDeepOverlap = 0.1;  // radii
constexpr double kClear = 0.01;       // radii: a start overlapping less is clear
constexpr double kHalfRadius = 0.5;   // radii: a new overlap this deep from the front is the library's fault

D3 unitOf(D3 v) {
    const double l = length(v);
    return l > 0 ? v * (1 / l) : D3{};
}

double horizontal(D3 v) { return std::hypot(v.x, v.z); }

// The level part of the normal of the plane that touches the ellipsoid at a
// contact whose normal (contact to centre) is n: a character's walls.
D3 levelTangent(D3 n, D3 radii) {
    const D3 t{n.x / (radii.x * radii.x), n.y / (radii.y * radii.y), n.z / (radii.z * radii.z)};
    const D3 u = unitOf(t);
    return u.y < 0.7071 ? unitOf(D3{u.x, 0, u.z}) : D3{};
}

}  // namespace

Crowd::Crowd(const Level& level, const WalkSettings& settings)
    : level_(level),
      settings_(settings),
      rng_(settings.seed * 0x9E3779B97F4A7C15ull + 1),
      speed_(kWalkPerFrame * level.scale()),
      gravity_(kGravityPerFrame * level.scale()),
      maxFall_(kMaxFallPerFrame * level.scale()) {
    startLibrary();
    const size_t count = std::max(1, settings.levelPieces);
    const size_t each = (level.solidCorners.size() + count - 1) / count;
    for (size_t from = 0; from < level.solidCorners.size(); from += each) {
        const auto begin = level.solidCorners.begin() + long(from);
        pieces_.emplace_back(begin, begin + long(std::min(each, level.solidCorners.size() - from)));
        placeMesh(kFirstPiece + int(pieces_.size()) - 1, pieces_.back());
    }
    if (!level.skyCorners.empty()) placeMesh(kSkyObject, level.skyCorners);
    for (int i = 0; i < settings.walkers; ++i) {
        Walker walker;
        walker.object = i + 1;
        if (dropWalker(walker)) walkers_.push_back(walker);
    }
    tally_.walkers = long(walkers_.size());
}

Crowd::~Crowd() { StopCollisionZEP(); }

bool Crowd::dropWalker(Walker& walker) {
    const auto at = findSpawn(level_, rng_, settings_.needRoof);
    if (!at) return false;
    walker.position = *at;
    walker.ground = *at;
    walker.heading = rng_.uniform(0, 2 * std::numbers::pi);
    walker.turns = WalkerRng(settings_.seed * 0x100000001B3ull + uint64_t(walker.object));
    placeWalker(walker.object, level_.radii, *at);
    if (settings_.characters) {
        const float step = float(kCharacterStep * level_.scale());
        SetCharacterZEP(walker.object, kCharacterSlope, step, step);
    }
    return true;
}

void Crowd::replaceWalker(int index) {
    Walker& old = walkers_[size_t(index)];
    FreeObjZEP(old.object);
    Walker fresh;
    fresh.object = old.object > kWalkerBlock ? old.object - kWalkerBlock : old.object + kWalkerBlock;
    if (dropWalker(fresh)) {
        ++tally_.walkers;
    } else {
        fresh.active = false;
    }
    old = fresh;
}

void Crowd::rebuildPiece(int piece) {
    FreeObjZEP(kFirstPiece + piece);
    placeMesh(kFirstPiece + piece, pieces_[size_t(piece)]);
}

D3 Crowd::stepFor(Walker& walker) {
    walker.heading += walker.turns.uniform(-0.08, 0.08);
    if (walker.turns.chance(1.0 / 120)) walker.heading += walker.turns.uniform(-std::numbers::pi / 2, std::numbers::pi / 2);
    walker.fallSpeed = std::min(walker.fallSpeed + gravity_, maxFall_);
    return {std::cos(walker.heading) * speed_, -walker.fallSpeed, std::sin(walker.heading) * speed_};
}

void Crowd::frame(int index) {
    std::vector<std::pair<D3, D3>> moves(walkers_.size());  // start, target
    for (size_t i = 0; i < walkers_.size(); ++i) {
        Walker& w = walkers_[i];
        if (!w.active) continue;
        moves[i] = {w.position, w.position + stepFor(w)};
        moveTo(w.object, moves[i].second);
    }
    const auto before = std::chrono::steady_clock::now();
    RunCollisionZEP();
    tally_.runSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    ++tally_.runs;
    for (size_t i = 0; i < walkers_.size(); ++i)
        if (walkers_[i].active) judge(int(i), index, moves[i].first, moves[i].second);
}

void Crowd::addCase(int index, int frame, const char* what) {
    tally_.cases.push_back({level_.name, settings_.seed, index, frame, what});
}

void Crowd::judge(int index, int frame, D3 start, D3 target) {
    Walker& w = walkers_[size_t(index)];
    const D3 end = positionOf(w.object);
    const std::vector<Contact> contacts = contactsOf(w.object);
    const std::vector<D3> path = passPath(start, contacts, end);
    ++tally_.passes;
    const bool traced = settings_.seed == settings_.traceSeed && index == settings_.traceWalker &&
                        frame == settings_.traceFrame;
    if (traced) trace(start, target, contacts, path);
    noteCrossing(w, index, frame, path);
    noteOverlap(w, index, frame, start, contacts, end);
    if (length(end - start) > tally_.worstJump) {
        tally_.worstJump = length(end - start);
        tally_.worstJumpAsked = length(target - start);
    }
    const Reaction reaction = react(w, contacts);
    noteStuck(w, index, frame, horizontal(end - start), reaction.blocked, contacts);
    noteFall(w, start, end, reaction.onFloor);
    w.position = end;
    if (reaction.onSky || outsideLevel(level_, end)) noteEscape(w, index, frame, reaction.onSky);
}

void Crowd::noteOverlap(Walker& w, int index, int frame, D3 start, const std::vector<Contact>& contacts, D3 end) {
    std::vector<uint32_t> deep = deepOverlaps(level_, end, kDeepOverlap);
    std::vector<uint32_t> fresh;
    std::set_difference(deep.begin(), deep.end(), w.deep.begin(), w.deep.end(), std::back_inserter(fresh));
    w.deep = std::move(deep);
    if (fresh.empty()) {
        if (w.throughBack && deepestOverlap(level_, end) <= kClear) w.throughBack = false;
        return;
    }
    const OverlapCause cause = overlapCause(w, start, contacts, fresh);
    if (cause == kFromBehind) w.throughBack = true;
    ++tally_.newOverlaps;
    ++tally_.overlapsBy[cause];
    double depth = 0;
    for (uint32_t t : fresh) depth = std::max(depth, overlapDepth(level_, end, t));
    tally_.overlapDepths.push_back(depth);
    const bool deepFromFront = depth > kHalfRadius && cause != kFromBehind && cause != kInsideAfterBack;
    if (deepFromFront) ++tally_.deepFrontOverlaps;
    addCase(index, frame,
            (std::string("new overlap ") + overlapCauseName(cause) + (deepFromFront ? ", deeper than 0.5" : "")).c_str());
}

// One-sided triangles let a walker in from behind by design; once inside a
// brush through its back faces a walker keeps starting passes overlapping
// the faces around it. A clean start with a new overlap at the end is the
// library's own doing: a slide that went back into a triangle met earlier
// in the pass, or something else.
OverlapCause Crowd::overlapCause(const Walker& w, D3 start, const std::vector<Contact>& contacts,
                                 const std::vector<uint32_t>& fresh) const {
    for (uint32_t t : fresh)
        if (!inFrontOf(level_, start, t)) return kFromBehind;
    if (deepestOverlap(level_, start) > kClear) return w.throughBack ? kInsideAfterBack : kStartedOverlapping;
    for (const Contact& c : contacts)
        if (std::find(fresh.begin(), fresh.end(), solidIndex(c)) != fresh.end()) return kMetInPass;
    return kOtherOverlap;
}

long Crowd::solidIndex(const Contact& c) const {
    if (c.object < kFirstPiece || c.object >= kFirstPiece + pieceCount()) return -1;
    // CollisionPolyHit numbers a piece's triangles from 1; all pieces but
    // the last have the first one's size.
    return long(c.object - kFirstPiece) * long(pieces_.front().size()) + c.triangle - 1;
}

Crowd::Reaction Crowd::react(Walker& w, const std::vector<Contact>& contacts) {
    const D3 ahead{std::cos(w.heading), 0, std::sin(w.heading)};
    Reaction reaction;
    // A character knows its ground; a plain walker reads it off its contacts.
    if (settings_.characters && CharacterGroundZEP(w.object) == ZEP_ON_GROUND) {
        w.fallSpeed = 0;
        reaction.onFloor = true;
    }
    for (const Contact& c : contacts) {
        const D3 n = unitOf(c.normal);
        if (n.y > kFloorY && !settings_.characters) {
            w.fallSpeed = 0;
            reaction.onFloor = true;
        }
        else if (dot(n, ahead) < -0.3) reaction.blocked = true;
        // A character's walk meets a slope too steep as a wall: judged by
        // the plane it touches the ellipsoid with, level.
        if (settings_.characters && dot(levelTangent(c.normal, level_.radii), ahead) < -0.3) reaction.blocked = true;
        if (c.object == kSkyObject && n.y > 0) reaction.onSky = true;
    }
    // A walker that meets a wall head-on turns away, as a player would.
    if (reaction.blocked) w.heading += std::numbers::pi / 2 + w.turns.uniform(0, std::numbers::pi);
    return reaction;
}

// A walker that leaves its floor is judged as it sinks below that floor's
// height: beside the floor it walked off an edge; under it, it went
// through the floor without its centre crossing it (a crack, a gap).
void Crowd::noteFall(Walker& w, D3 start, D3 end, bool onFloor) {
    if (onFloor) {
        w.ground = end;
        w.underFloor = false;
        return;
    }
    const double floorY = w.ground.y - level_.radii.y;
    if (start.y >= floorY && end.y < floorY) w.underFloor = floorAbove(level_, end, w.ground.y);
}

void Crowd::noteEscape(Walker& w, int index, int frame, bool onSky) {
    ++tally_.escapes;
    if (w.crossed) ++tally_.escapesAfterCrossing;
    else if (w.underFloor) ++tally_.escapesFellThrough;
    // Walking off without a crossing is mostly a hole in the drawn geometry
    // (a pit floored with brushes that are not drawn, a platform over the
    // void), not a fault.
    const bool below = w.position.y < level_.lo.y;
    const char* how = w.crossed ? "crossed" : w.underFloor ? "fell through" : "walked off";
    addCase(index, frame,
            (std::string("escape ") + (onSky ? "onto the sky" : below ? "below" : "out of the box") + " (" + how + ")").c_str());
    w.active = false;
    DeActivateObjZEP(w.object);
}

void Crowd::noteCrossing(Walker& w, int index, int frame, const std::vector<D3>& path) {
    for (size_t leg = 0; leg + 1 < path.size(); ++leg) {
        if (frontCrossings(level_, path[leg], path[leg + 1]).empty()) continue;
        ++tally_.crossingPasses;
        if (!w.crossed) ++tally_.walkersCrossed;
        w.crossed = true;
        addCase(index, frame, "crossing");
        return;
    }
}

void Crowd::noteStuck(Walker& w, int index, int frame, double moved, bool blocked,
                      const std::vector<Contact>& contacts) {
    const size_t slot = size_t(w.frames % kStuckWindow);
    w.moved[slot] = moved;
    w.blocked[slot] = blocked;
    ++w.frames;
    if (w.stuck || w.frames < kStuckWindow) return;
    double total = 0;
    for (double m : w.moved) total += m;
    const bool explained = std::find(w.blocked.begin(), w.blocked.end(), true) != w.blocked.end();
    if (explained || total >= kStuckFraction * kStuckWindow * speed_) return;
    w.stuck = true;
    ++tally_.stuck;
    const StuckCause cause = stuckCause(w, contacts);
    ++tally_.stuckBy[cause];
    addCase(index, frame, (std::string("stuck ") + stuckCauseName(cause)).c_str());
}

// A stuck walker is not blocked: nothing it touches faces squarely against
// its heading, yet it does not move.
StuckCause Crowd::stuckCause(const Walker& w, const std::vector<Contact>& contacts) const {
    const D3 ahead{std::cos(w.heading), 0, std::sin(w.heading)};
    for (const Contact& c : contacts)
        if (unitOf(c.normal).y < -0.3) return kWedge;  // something above presses it down onto the floor
    for (const Contact& a : contacts)
        for (const Contact& b : contacts) {
            const D3 na = unitOf(a.normal), nb = unitOf(b.normal);
            const bool walls = std::abs(na.y) <= kFloorY && std::abs(nb.y) <= kFloorY;
            if (walls && dot(unitOf({na.x, 0, na.z}), unitOf({nb.x, 0, nb.z})) < -0.5) return kNarrowGap;
        }
    // The ellipsoid's lower front on the rim of a step or the foot of a
    // ramp: the normal comes from an edge, not from a face, tilted against
    // the heading but floor-like, and the slide keeps the walker to the
    // crease of that edge and the floor it stands on.
    for (const Contact& c : contacts) {
        const long t = solidIndex(c);
        const D3 n = unitOf(c.normal);
        if (t >= 0 && dot(n, ahead) < 0 && dot(n, unitOf(level_.solid[size_t(t)].normal())) < 0.99) return kStepEdge;
    }
    return kOtherStuck;
}

void Crowd::trace(D3 start, D3 target, const std::vector<Contact>& contacts, const std::vector<D3>& path) const {
    auto show = [](const char* what, D3 v) { std::printf("  %s (%.9g, %.9g, %.9g)\n", what, v.x, v.y, v.z); };
    std::printf("trace: map %s seed %lu walker %d frame %d\n", level_.name.c_str(), settings_.seed,
                settings_.traceWalker, settings_.traceFrame);
    show("start ", start);
    show("target", target);
    for (size_t i = 0; i < contacts.size(); ++i) {
        std::printf("  contact %zu with object %d:\n", i + 1, contacts[i].object);
        show("  centre", contacts[i].centre);
        show("  normal", contacts[i].normal);
    }
    show("end   ", path.back());
    for (size_t leg = 0; leg + 1 < path.size(); ++leg) {
        const auto crossed = frontCrossings(level_, path[leg], path[leg + 1]);
        std::printf("  leg %zu: length %.6g, crosses %zu front face(s)\n", leg + 1,
                    length(path[leg + 1] - path[leg]), crossed.size());
        for (uint32_t t : crossed) {
            const Tri& tri = level_.solid[t];
            std::printf("    solid triangle %u (1-based in the OBJ: %u)\n", t, t + 1);
            show("    c1", tri.a);
            show("    c2", tri.b);
            show("    c3", tri.c);
        }
    }
}

Tally walkLevel(const Level& level, const WalkSettings& settings,
                const std::function<void(Crowd&, int)>& beforeFrame) {
    Crowd crowd(level, settings);
    for (int f = 0; f < settings.frames; ++f) {
        if (beforeFrame) beforeFrame(crowd, f);
        crowd.frame(f);
    }
    return crowd.tally();
}

}  // namespace walk
