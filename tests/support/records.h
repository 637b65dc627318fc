// The library's contact and sweep records as 32-bit words, so that two runs
// (the indexed and the plain path, a cached and an uncached sweep) compare bit
// for bit and a difference names its word. The tests and the fuzzer share it.
#pragma once

#include <cstdint>
#include <vector>

#include "support/bits.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/shapes.h"
#include "world/sweep_records.h"

namespace zeptest {

// How a NaN is written: with its own bits, or as one NaN whatever its sign
// and payload, which IEEE 754 leaves open for an arithmetic NaN (the fuzzer
// compares against a copy of the library compiled without sanitizers).
enum class NaNs { kAsTheyAre, kAsOne };
inline constexpr uint32_t kOneNaN = 0x7fc00000u;

inline uint32_t floatWord(float value, NaNs nans = NaNs::kAsTheyAre) {
    return nans == NaNs::kAsOne && value != value ? kOneNaN : bitsOf(value);
}

inline void appendVec(std::vector<uint32_t>& out, const zep::Vec3& v, NaNs nans = NaNs::kAsTheyAre) {
    out.insert(out.end(), {floatWord(v.x, nans), floatWord(v.y, nans), floatWord(v.z, nans)});
}

// Every field of a contact a pass leaves; the feature a hit met only for its
// kind (a face hit leaves the edge and the corner as the sweep found them).
inline void appendContact(std::vector<uint32_t>& out, const zep::Contact& c, NaNs nans = NaNs::kAsTheyAre) {
    out.push_back(c.meshShape ? uint32_t(c.meshShape->header.body->objectNumber) : 0xFFFFFFFFu);
    out.push_back(floatWord(c.hitTime, nans));
    out.push_back(uint32_t(c.triangleNumber));
    out.push_back(floatWord(c.moveLength, nans));
    out.push_back(uint32_t(c.hitKind));
    for (const zep::Vec3& v : {c.point, c.normal, c.center, c.slideDestination, c.moveToContact, c.slideVector,
                               c.triangle[0], c.triangle[1], c.triangle[2]})
        appendVec(out, v, nans);
    if (c.hitKind == zep::kHitEdge) {
        appendVec(out, c.edgeStart, nans);
        appendVec(out, c.edgeEnd, nans);
    }
    if (c.hitKind == zep::kHitVertex) appendVec(out, c.vertex, nans);
}

// Every field of a sweep record. The edge's ends mean something only for a
// found edge hit, the corner only for a found corner hit; otherwise they hold
// whatever a hit that was later beaten left there, and are written as zero.
inline std::vector<uint32_t> sweepRecordWords(const zep::SweepResult& r) {
    std::vector<uint32_t> out{bitsOf(r.sphereRadius), uint32_t(r.found),          bitsOf(r.hitTime),
                              uint32_t(r.triangleNumber), bitsOf(r.nearestDistance), uint32_t(r.hitKind)};
    const zep::Vec3 none{};
    const bool edge = r.found && r.hitKind == zep::kHitEdge, vertex = r.found && r.hitKind == zep::kHitVertex;
    for (const zep::Vec3& v : {r.contactPoint, r.normal, r.centerAtContact, r.slideDestination, r.moveToContact,
                               r.slideVector, r.triangle[0], r.triangle[1], r.triangle[2], edge ? r.edgeStart : none,
                               edge ? r.edgeEnd : none, vertex ? r.vertex : none, r.radii})
        appendVec(out, v);
    return out;
}

}  // namespace zeptest
