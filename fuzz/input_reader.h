// Turns fuzz input bytes into command arguments, front to back, so that seed
// inputs can be written by hand. Most argument bytes pick from values where
// bugs live (table bounds, type bounds, NaN, infinities, denormals, huge
// numbers, far coordinates, tiny lengths); the rest give small values that
// make real scenes, or raw bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace zepfuzz {

class InputReader {
public:
    InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }

    // The next byte; 0 once the input is used up.
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    // Up to count raw bytes; fewer at the end of the input.
    std::vector<uint8_t> bytes(size_t count) {
        const size_t n = count < size_ - at_ ? count : size_ - at_;
        std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
        at_ += n;
        return out;
    }

    uint32_t word() {
        uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= uint32_t(byte()) << shift;
        return value;
    }

    // Object numbers: mostly a pool of eight, so objects are met again.
    int32_t objectNumber() {
        static constexpr int32_t kEdges[] = {5000, 5001, -1, 4999, INT32_MIN, INT32_MAX, 300, 65536};
        return pick(8, kEdges);
    }

    // Collision types and shape kinds: 0 to 3, or a bound.
    int32_t type() {
        static constexpr int32_t kEdges[] = {300, 301, -1, 299, 5000, INT32_MIN, INT32_MAX, 256};
        return pick(4, kEdges);
    }

    // Contact indices, corners and components: 0 to 5, or a bound.
    int32_t index() {
        static constexpr int32_t kEdges[] = {-1, 5001, INT32_MIN, INT32_MAX, 256, 65537, 100, 7};
        return pick(6, kEdges);
    }

    float floatArg() {
        const uint8_t b = byte();
        if (b < 0x80) return float(int(b) - 64) / 4.0f;  // -16 to 15.75 in quarters
        if (b < 0xE0) return kFloatEdges[(b - 0x80) % kFloatEdgeCount];
        float value;
        const uint32_t bits = word();
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // A count from 1 to most, so that every byte does something.
    int32_t count(int32_t most) { return 1 + int32_t(byte()) % most; }

    // A positive length: ordinary ones mostly, then the tiny and the huge
    // ones where rounding decides.
    float length() {
        static constexpr float kLengths[16] = {1.0f,  0.5f, 2.0f,  0.25f, 4.0f,  1.5f, 0.125f, 8.0f,
                                               1e-3f, 1e3f, 1e-6f, 1e6f,  3e-4f, 0.1f, 1e-20f, 1e20f};
        return kLengths[byte() & 15];
    }

    // A coordinate offset: mostly near the origin, often far from it, where
    // a float's step is larger than a small mover.
    float offset() {
        static constexpr float kFar[8] = {0.0f, 1e4f, -3e5f, 1e6f, -8388608.5f, 1.6e7f, -1e9f, 1e12f};
        const uint8_t b = byte();
        return b < 0x80 ? kFar[b & 7] + float(int(b >> 3) - 8) : floatArg();
    }

private:
    static constexpr int kFloatEdgeCount = 32;
    static constexpr float kFloatEdges[kFloatEdgeCount] = {
        0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 1e-7f, 1e-30f,
        std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::min(),
        std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(), 1e30f, -1e30f,
        std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
        5000.0f, 5001.0f, 300.0f, 1e10f, 0.99999994f, 1.0000001f, 16777217.0f,
        1e-3f, 1e-5f, 1e5f, -1e6f, 3e7f, 1e15f, 8388608.5f, -2.5e-4f};

    // A byte below 0xF0 picks from 0..small-1; the rest pick an edge value.
    int32_t pick(int32_t small, const int32_t (&edges)[8]) {
        const uint8_t b = byte();
        return b < 0xF0 ? int32_t(b) % small : edges[b & 7];
    }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace zepfuzz
