#include "base/scratch.h"

#include <algorithm>

#include "base/allocation.h"

namespace zep {

namespace {

void release(ScratchBuffer& buffer) {
    freeWorkArray(buffer.data);
    buffer = ScratchBuffer{};
}

}  // namespace

int32_t* reserveScratch(ScratchBuffer& buffer, int32_t count) {
    return reserveWorkArray(buffer.data, buffer.capacity, std::max(count, 1)) ? buffer.data : nullptr;
}

void releaseScratch(Scratch& scratch) {
    release(scratch.places);
    release(scratch.partners);
    release(scratch.contactNumbers);
}

}  // namespace zep
