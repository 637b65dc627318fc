// Every record of the library is made and freed here. Allocation never throws:
// a record that cannot be made comes back as nullptr, and the caller leaves the
// world exactly as it was. Tests can make the Nth allocation fail and count
// the records alive to prove both.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <type_traits>

namespace zep {

// True when the test hook says this allocation must fail.
bool allocationMustFail();
// True while the test hook counts down to a failure: which allocation fails
// must not depend on how threads interleave, so the work stays on one.
bool allocationFailuresArmed();
void noteRecordMade();
void noteRecordFreed();
// A record set aside for reuse: no longer alive, but its memory not given back.
void noteRecordKept();
// How many times memory has been given back so far: work that failed for
// want of memory is worth trying again only once this has moved.
uint64_t memoryReleases();
void noteMemoryReleased();
// How many allocations have come back empty so far (the test hook's and the
// system's alike): a command that saw this move ran out of memory, and says so.
uint64_t allocationsRefused();
void noteAllocationRefused();
// Counts an allocation that came back empty; returns what it was given.
template <class T>
T* refusedIfNull(T* memory) {
    if (!memory) noteAllocationRefused();
    return memory;
}

// For a record made fresh in place instead of anew: asks the test hook as
// an allocation would, and counts a refusal as one.
inline bool mayRemake() {
    if (!allocationMustFail()) return true;
    noteAllocationRefused();
    return false;
}

template <class T>
T* makeRecord() {
    if (allocationMustFail()) return refusedIfNull<T>(nullptr);
    T* record = refusedIfNull(new (std::nothrow) T{});
    if (record) noteRecordMade();
    return record;
}

template <class T>
void freeRecord(T* record) {
    if (!record) return;
    delete record;
    noteRecordFreed();
}

// An array of count default-initialised elements, or nullptr (also for a
// count the address space cannot hold). Counted as one record.
template <class T>
T* makeWorkArray(size_t count);

template <class T>
T* makeArray(size_t count) {
    T* array = makeWorkArray<T>(count);
    if (array) noteRecordMade();
    return array;
}

template <class T>
void freeArray(T* array) {
    if (array) noteRecordFreed();
    delete[] array;
}

// A record array whose elements are left unset, for a caller that writes
// each one before it reads it: setting 10^6 triangles' corners to zero first
// cost a tenth of loading them. Only for records of plain values, which an
// allocation brings to life as it is (trivially copyable); freed with
// freeUnsetArray. Counted as one record.
template <class T>
T* makeUnsetArray(size_t count) {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
    if (count > SIZE_MAX / sizeof(T) || allocationMustFail()) return refusedIfNull<T>(nullptr);
    T* array = refusedIfNull(static_cast<T*>(std::malloc(std::max<size_t>(count, 1) * sizeof(T))));
    if (array) noteRecordMade();
    return array;
}

template <class T>
void freeUnsetArray(T* array) {
    if (array) noteRecordFreed();
    std::free(array);
}

// Asks the system at once for the pages of memory the caller is about to
// write in full, instead of taking a fault per page as each is first
// written: loading 10^6 triangles writes some 85 MB of fresh memory, and on
// Linux took 15% less. Elsewhere, and for small arrays, it does nothing.
void prepareToWrite(void* memory, size_t bytes);

// Working memory of a pass (not a record of the world, so not counted): kept
// between passes and released at stop, but it can fail like any allocation.
template <class T>
T* makeWorkArray(size_t count) {
    if (count > SIZE_MAX / sizeof(T) || allocationMustFail()) return refusedIfNull<T>(nullptr);
    return refusedIfNull(new (std::nothrow) T[count]);
}

template <class T>
void freeWorkArray(T* array) {
    if (array) noteMemoryReleased();
    delete[] array;
}

// Makes a work buffer hold at least `count` elements: a smaller one is
// replaced by a new one, its contents not kept. False, with the buffer as it
// was, when memory runs out.
template <class T>
bool reserveWorkArray(T*& data, int32_t& capacity, int32_t count) {
    if (count <= capacity) return true;
    T* bigger = makeWorkArray<T>(size_t(count));
    if (!bigger) return false;
    freeWorkArray(data);
    data = bigger;
    capacity = count;
    return true;
}

// Records kept for reuse, in a list through their `next` link: a pass that
// frees a few thousand records and makes as many again spends a tenth of its
// time in the heap otherwise. A kept record counts as freed, and one taken
// back as made, and taking one asks the allocation hook as making one does,
// so that the counts and running out of memory behave as without the list.
template <class T>
T* makeRecordFrom(T*& spares) {
    if (!spares) return makeRecord<T>();
    if (allocationMustFail()) return refusedIfNull<T>(nullptr);
    T* record = spares;
    spares = record->next;
    *record = T{};
    noteRecordMade();
    return record;
}
template <class T>
void keepRecord(T*& spares, T* record) {
    record->next = spares;
    spares = record;
    noteRecordKept();
}
// Frees the kept records (already counted as freed).
template <class T>
void freeKeptRecords(T*& spares) {
    while (T* record = spares) {
        spares = record->next;
        delete record;
        noteMemoryReleased();
    }
}

// The room for an array filled a few elements at a time that now needs
// `wanted`: at least double the old room, so that the copies cost amortized
// constant time, and never under 16.
inline int32_t grownCapacity(int32_t capacity, int32_t wanted) {
    return std::max({wanted, 16, int32_t(std::min<int64_t>(INT32_MAX, int64_t(capacity) * 2))});
}

// Gives an array holding `used` elements room for at least `wanted`,
// keeping them: a record array (makeArray) or a work array (makeWorkArray).
// False, with the array as it was, when memory runs out.
template <class T, T* (*make)(size_t), void (*release)(T*)>
bool growKeeping(T*& data, int32_t used, int32_t& capacity, int32_t wanted) {
    if (wanted <= capacity) return true;
    const int32_t bigger = grownCapacity(capacity, wanted);
    T* grown = make(size_t(bigger));
    if (!grown) return false;
    std::copy(data, data + used, grown);
    release(data);
    data = grown;
    capacity = bigger;
    return true;
}
template <class T>
bool growArray(T*& data, int32_t used, int32_t& capacity, int32_t wanted) {
    return growKeeping<T, makeArray<T>, freeArray<T>>(data, used, capacity, wanted);
}
template <class T>
bool growWorkArray(T*& data, int32_t used, int32_t& capacity, int32_t wanted) {
    return growKeeping<T, makeWorkArray<T>, freeWorkArray<T>>(data, used, capacity, wanted);
}

namespace testing {
// Makes the allocation `count` allocations from now fail (0: the very next
// one), and every one after it until reset; a negative count turns failures off.
void failAllocationsAfter(int64_t count);
// Records made and not yet freed.
int64_t liveRecords();
// Allocations attempted since the last failAllocationsAfter call.
int64_t allocationsAttempted();
}  // namespace testing

}  // namespace zep
