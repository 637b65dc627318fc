#include "world/character.h"

#include "base/allocation.h"
#include "world/object.h"

namespace zep {

namespace {

// The cosine of an angle from 0 to pi/2 by its series, with nothing but
// double additions and products: every build computes the same bits, where
// the platforms' own cos may not (and may reach for the x87 unit).
double cosine(double x) {
    constexpr int kTerms = 20;
    double term = 1.0, sum = 1.0;
    for (int k = 1; k < kTerms; ++k) {
        term *= -x * x / (double(2 * k - 1) * double(2 * k));
        sum += term;
    }
    return sum;
}

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

}  // namespace

bool setCharacter(CollisionBody& body, float slopeLimitDegrees, float stepOffset, float snapDistance) {
    if (!body.character) body.character = makeRecord<CharacterRecord>();
    if (!body.character) return false;
    CharacterRecord& c = *body.character;
    c.slopeLimitDegrees = slopeLimitDegrees;
    c.walkableCos = cosine(double(slopeLimitDegrees) * kRadiansPerDegree);
    c.stepOffset = stepOffset;
    c.snapDistance = snapDistance;
    return true;
}

void freeCharacter(CollisionBody& body) {
    freeRecord(body.character);
    body.character = nullptr;
}

}  // namespace zep
