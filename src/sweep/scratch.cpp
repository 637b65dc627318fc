#include "sweep/scratch.h"

#include <algorithm>
#include <new>

#include "api/allocation.h"

namespace zep {

namespace {

struct Buffer {
    int32_t* data = nullptr;
    int32_t capacity = 0;
};

Buffer places;
Buffer partners;
Buffer contactNumbers;

int32_t* reserve(Buffer& buffer, int32_t count) {
    count = std::max(count, 1);
    if (count <= buffer.capacity) return buffer.data;
    int32_t* bigger = makeWorkArray<int32_t>(size_t(count));
    if (!bigger) return nullptr;
    freeWorkArray(buffer.data);
    buffer.data = bigger;
    buffer.capacity = count;
    return bigger;
}

void release(Buffer& buffer) {
    freeWorkArray(buffer.data);
    buffer = Buffer{};
}

}  // namespace

int32_t* scratchPlaces(int32_t count) { return reserve(places, count); }
int32_t* scratchPartners(int32_t count) { return reserve(partners, count); }
int32_t* scratchContactNumbers(int32_t count) { return reserve(contactNumbers, count); }

void releaseScratch() {
    release(places);
    release(partners);
    release(contactNumbers);
}

}  // namespace zep
