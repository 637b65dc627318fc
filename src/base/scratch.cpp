#include "base/scratch.h"

#include <algorithm>
#include <new>

#include "base/allocation.h"

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
    return reserveWorkArray(buffer.data, buffer.capacity, std::max(count, 1)) ? buffer.data : nullptr;
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
