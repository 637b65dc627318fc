// The walking crowd of `make bench` (1000 movers on 10^5 triangles) through
// zepcollide and through two ways of doing the same with Bullet:
//   zepcollide    the movers as ellipsoids, exactly as the bench walks them;
//   bullet-kcc    a btKinematicCharacterController per mover (a capsule on a
//                 btPairCachingGhostObject), updated through updateAction;
//   bullet-sweep  a capsule per mover moved by btCollisionWorld::convexSweepTest,
//                 sliding along the hit normal, up to 4 sweeps a frame.
// All three get the same triangles from the same generator. Only the frame
// updates are timed (thread CPU time and wall time), in interleaved rounds;
// the figures are medians over the passes. Ends with:
//   peer: zepcollide X ms, bullet-kcc Y ms, bullet-sweep Z ms, ratios A, B
//   fall-throughs: ...
//   wall: ...
//
// Options: --rounds N (5), --frames N per peer and round (12).
#include <btBulletCollisionCommon.h>
#include <btBulletDynamicsCommon.h>
#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <BulletDynamics/Character/btKinematicCharacterController.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "levels.h"
#include "zepcollide.h"

namespace zepbench {
namespace {

constexpr int kMoverBase = 1;
constexpr int kLevelObject = 5000;
// zepcollide's side drives the library linked into this program.
const Commands& linked = linkedCommands();
constexpr int kMovers = 1000;
constexpr int64_t kTriangles = 100000;
// The movers: radii 0.4, 0.9, 0.4 for zepcollide; a capsule of radius 0.4
// and total height 1.8 for Bullet.
constexpr float kRadius = 0.4f;
constexpr float kHalfHeight = 0.9f;
// One frame: a step of 0.1 along the heading and 0.2 down, as walkFrame asks.
constexpr float kStep = 0.1f;
constexpr float kFall = 0.2f;
constexpr float kFrameTime = 1.0f / 60.0f;
constexpr int kMaxSweeps = 4;

// The heading walkFrame gives mover k in frame `frame`.
float heading(int k, int frame) { return 0.7f * float(k) + 0.03f * float(frame); }

double seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Position {
    float x, y, z;
};

// One way of moving the crowd. frame() is the timed part.
class Peer {
public:
    virtual ~Peer() = default;
    virtual const char* name() const = 0;
    virtual void frame(int frame) = 0;
    virtual Position position(int k) const = 0;
};

class Zep : public Peer {
public:
    Zep() {
        StartCollisionZEP();
        SetCollisionZEP(1, 2, 0, 0, 0);
        placeMovers(linked, kMoverBase, kMovers, loadTerrain(linked, kLevelObject, kTriangles));
    }
    ~Zep() override { StopCollisionZEP(); }
    const char* name() const override { return "zepcollide"; }
    void frame(int frame) override { walkFrame(linked, kMoverBase, kMovers, frame); }
    Position position(int k) const override {
        const int object = kMoverBase + k;
        return {zepFloat(PeekObjXZEP(object)), zepFloat(PeekObjYZEP(object)), zepFloat(PeekObjZZEP(object))};
    }
};

// The level as one static btBvhTriangleMeshShape over the generator's
// triangles, shared by both Bullet peers (each has its own world).
class BulletLevel {
public:
    explicit BulletLevel(const Terrain& terrain) : corners_(terrain.corners) {
        const int triangles = int(corners_.size() / 9);
        indices_.resize(size_t(triangles) * 3);
        for (size_t i = 0; i < indices_.size(); ++i) indices_[i] = int(i);
        mesh_ = std::make_unique<btTriangleIndexVertexArray>(triangles, indices_.data(), 3 * int(sizeof(int)),
                                                             int(indices_.size()), corners_.data(),
                                                             3 * int(sizeof(float)));
        shape_ = std::make_unique<btBvhTriangleMeshShape>(mesh_.get(), true, true);
    }
    btCollisionShape* shape() const { return shape_.get(); }

private:
    std::vector<float> corners_;
    std::vector<int> indices_;
    std::unique_ptr<btTriangleIndexVertexArray> mesh_;
    std::unique_ptr<btBvhTriangleMeshShape> shape_;
};

// A collision world holding the level on a static object.
class BulletWorld {
public:
    explicit BulletWorld(const BulletLevel& level)
        : dispatcher_(&configuration_), world_(&dispatcher_, &broadphase_, &configuration_) {
        broadphase_.getOverlappingPairCache()->setInternalGhostPairCallback(&ghostPairs_);
        ground_.setCollisionShape(level.shape());
        ground_.setCollisionFlags(ground_.getCollisionFlags() | btCollisionObject::CF_STATIC_OBJECT);
        world_.addCollisionObject(&ground_, btBroadphaseProxy::StaticFilter,
                                  btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter);
    }
    ~BulletWorld() { world_.removeCollisionObject(&ground_); }
    btCollisionWorld& world() { return world_; }

private:
    btDefaultCollisionConfiguration configuration_;
    btCollisionDispatcher dispatcher_;
    btDbvtBroadphase broadphase_;
    btGhostPairCallback ghostPairs_;
    btCollisionWorld world_;
    btCollisionObject ground_;
};

class Kcc : public Peer {
public:
    Kcc(const BulletLevel& level, const std::vector<Position>& start) : world_(level) {
        capsule_ = std::make_unique<btCapsuleShape>(kRadius, 2 * (kHalfHeight - kRadius));
        for (const Position& p : start) {
            auto ghost = std::make_unique<btPairCachingGhostObject>();
            ghost->setCollisionShape(capsule_.get());
            ghost->setCollisionFlags(btCollisionObject::CF_CHARACTER_OBJECT);
            // Movers meet the level only, never each other.
            world_.world().addCollisionObject(ghost.get(), btBroadphaseProxy::CharacterFilter,
                                              btBroadphaseProxy::StaticFilter);
            auto controller = std::make_unique<btKinematicCharacterController>(ghost.get(), capsule_.get(),
                                                                               btScalar(0.35), btVector3(0, 1, 0));
            // The controller turns its ghost from its default up axis (z) to
            // the one given (y), which would lay the capsule down: stand it
            // up again.
            ghost->setWorldTransform(btTransform(btQuaternion::getIdentity(), btVector3(p.x, p.y, p.z)));
            // Gravity that reaches the fall speed in one frame, capped at the
            // 0.2 a frame the other two peers ask for.
            controller->setGravity(btVector3(0, -kFall / (kFrameTime * kFrameTime), 0));
            controller->setFallSpeed(kFall / kFrameTime);
            ghosts_.push_back(std::move(ghost));
            controllers_.push_back(std::move(controller));
        }
    }
    ~Kcc() override {
        for (auto& ghost : ghosts_) world_.world().removeCollisionObject(ghost.get());
    }
    const char* name() const override { return "bullet-kcc"; }
    void frame(int frame) override {
        btCollisionWorld& world = world_.world();
        world.computeOverlappingPairs();
        for (size_t k = 0; k < controllers_.size(); ++k) {
            const float h = heading(int(k), frame);
            controllers_[k]->setWalkDirection(btVector3(kStep * std::cos(h), 0, kStep * std::sin(h)));
            controllers_[k]->updateAction(&world, kFrameTime);
        }
    }
    Position position(int k) const override {
        const btVector3& p = ghosts_[size_t(k)]->getWorldTransform().getOrigin();
        return {p.x(), p.y(), p.z()};
    }

private:
    BulletWorld world_;
    std::unique_ptr<btCapsuleShape> capsule_;
    std::vector<std::unique_ptr<btPairCachingGhostObject>> ghosts_;
    std::vector<std::unique_ptr<btKinematicCharacterController>> controllers_;
};

class Sweep : public Peer {
public:
    Sweep(const BulletLevel& level, const std::vector<Position>& start)
        : world_(level), capsule_(kRadius, 2 * (kHalfHeight - kRadius)) {
        for (const Position& p : start) positions_.emplace_back(p.x, p.y, p.z);
    }
    const char* name() const override { return "bullet-sweep"; }
    void frame(int frame) override {
        btCollisionWorld& world = world_.world();
        for (size_t k = 0; k < positions_.size(); ++k) {
            const float h = heading(int(k), frame);
            btVector3 at = positions_[k];
            btVector3 move(kStep * std::cos(h), -kFall, kStep * std::sin(h));
            for (int sweep = 0; sweep < kMaxSweeps && move.length2() > 1e-12f; ++sweep) {
                const btVector3 to = at + move;
                btCollisionWorld::ClosestConvexResultCallback hit(at, to);
                hit.m_collisionFilterGroup = btBroadphaseProxy::CharacterFilter;
                hit.m_collisionFilterMask = btBroadphaseProxy::StaticFilter;
                world.convexSweepTest(&capsule_, btTransform(btQuaternion::getIdentity(), at),
                                      btTransform(btQuaternion::getIdentity(), to), hit);
                if (!hit.hasHit()) {
                    at = to;
                    break;
                }
                // Up to the contact, less a small skin along the normal, then
                // the rest of the move with its part into the surface removed.
                btVector3 normal = hit.m_hitNormalWorld;
                if (normal.dot(move) > 0) normal = -normal;
                const btScalar fraction = hit.m_closestHitFraction;
                at += move * fraction + normal * kSkin;
                const btVector3 rest = move * (1 - fraction);
                move = rest - normal * rest.dot(normal);
            }
            positions_[k] = at;
        }
    }
    Position position(int k) const override {
        const btVector3& p = positions_[size_t(k)];
        return {p.x(), p.y(), p.z()};
    }

private:
    static constexpr float kSkin = 0.001f;
    BulletWorld world_;
    btCapsuleShape capsule_;
    std::vector<btVector3> positions_;
};

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

struct Record {
    std::vector<double> cpu, wall;  // milliseconds per pass
    std::vector<bool> fell;         // per mover: ever below the ground
    double clearance = 0;           // median centre height above the ground at the end
};

// Marks the movers whose centre is below the ground under it by more than
// their half height, or below the level's lowest point.
void checkFalls(const Peer& peer, const Terrain& terrain, float lowest, Record& record) {
    for (int k = 0; k < kMovers; ++k) {
        const Position p = peer.position(k);
        if (!(p.y >= terrain.groundAt(p.x, p.z) - kHalfHeight && p.y >= lowest)) record.fell[size_t(k)] = true;
    }
}

double clearance(const Peer& peer, const Terrain& terrain) {
    std::vector<double> heights;
    for (int k = 0; k < kMovers; ++k) {
        const Position p = peer.position(k);
        heights.push_back(double(p.y - terrain.groundAt(p.x, p.z)));
    }
    return median(heights);
}

int argument(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

}  // namespace
}  // namespace zepbench

int main(int argc, char** argv) {
    using namespace zepbench;
    const int rounds = argument(argc, argv, "--rounds", 5);
    const int frames = argument(argc, argv, "--frames", 12);

    const Terrain terrain = terrainTriangles(kTriangles);
    const float lowest = terrain.lowest();
    Zep zep;
    std::vector<Position> start;
    for (int k = 0; k < kMovers; ++k) start.push_back(zep.position(k));
    const BulletLevel level(terrain);
    Kcc kcc(level, start);
    Sweep sweep(level, start);
    Peer* peers[3] = {&zep, &kcc, &sweep};
    Record records[3];
    for (Record& record : records) record.fell.assign(kMovers, false);

    // Frame 0 is not timed: zepcollide sweeps its movers in from where they
    // were placed, and Bullet settles its broadphase pairs.
    for (Peer* peer : peers) peer->frame(0);
    std::printf("1000 movers on 10^5 triangles (%zu), %d rounds of %d passes per peer\n", terrain.corners.size() / 9,
                rounds, frames);
    int next = 1;
    for (int round = 0; round < rounds; ++round) {
        for (int p = 0; p < 3; ++p) {
            double cpuTotal = 0;
            for (int f = 0; f < frames; ++f) {
                const double cpu0 = seconds(CLOCK_THREAD_CPUTIME_ID), wall0 = seconds(CLOCK_MONOTONIC);
                peers[p]->frame(next + f);
                const double cpu = seconds(CLOCK_THREAD_CPUTIME_ID) - cpu0, wall = seconds(CLOCK_MONOTONIC) - wall0;
                records[p].cpu.push_back(cpu * 1e3);
                records[p].wall.push_back(wall * 1e3);
                cpuTotal += cpu;
                checkFalls(*peers[p], terrain, lowest, records[p]);
            }
            std::printf("  round %d %-12s %8.3f ms per pass (CPU, mean of the round)\n", round + 1, peers[p]->name(),
                        cpuTotal * 1e3 / frames);
        }
        next += frames;
    }
    int falls[3];
    for (int p = 0; p < 3; ++p) {
        records[p].clearance = clearance(*peers[p], terrain);
        falls[p] = int(std::count(records[p].fell.begin(), records[p].fell.end(), true));
    }
    std::printf("median centre height above the ground at the end: zepcollide %.3f, bullet-kcc %.3f, bullet-sweep %.3f\n",
                records[0].clearance, records[1].clearance, records[2].clearance);
    const double cpu[3] = {median(records[0].cpu), median(records[1].cpu), median(records[2].cpu)};
    const double wall[3] = {median(records[0].wall), median(records[1].wall), median(records[2].wall)};
    std::printf("peer: zepcollide %.3f ms, bullet-kcc %.3f ms, bullet-sweep %.3f ms, ratios %.1f, %.1f\n", cpu[0],
                cpu[1], cpu[2], cpu[1] / cpu[0], cpu[2] / cpu[0]);
    std::printf("fall-throughs: zepcollide %d, bullet-kcc %d, bullet-sweep %d (of %d movers, %d passes each)\n",
                falls[0], falls[1], falls[2], kMovers, rounds * frames);
    std::printf("wall: zepcollide %.3f ms, bullet-kcc %.3f ms, bullet-sweep %.3f ms, ratios %.1f, %.1f\n", wall[0],
                wall[1], wall[2], wall[1] / wall[0], wall[2] / wall[0]);
    return 0;
}
