// Every record of the library is made and freed here. Allocation never throws:
// a record that cannot be made comes back as nullptr, and the caller leaves the
// world exactly as it was. Tests can make the Nth allocation fail and count
// the records alive to prove both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace zep {

// True when the test hook says this allocation must fail.
bool allocationMustFail();
void noteRecordMade();
void noteRecordFreed();
// How many times memory has been given back so far: work that failed for
// want of memory is worth trying again only once this has moved.
uint64_t memoryReleases();
void noteMemoryReleased();

template <class T>
T* makeRecord() {
    if (allocationMustFail()) return nullptr;
    T* record = new (std::nothrow) T{};
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
T* makeArray(size_t count) {
    if (count > SIZE_MAX / sizeof(T) || allocationMustFail()) return nullptr;
    T* array = new (std::nothrow) T[count];
    if (array) noteRecordMade();
    return array;
}

template <class T>
void freeArray(T* array) {
    if (!array) return;
    delete[] array;
    noteRecordFreed();
}

// Working memory of a pass (not a record of the world, so not counted): kept
// between passes and released at stop, but it can fail like any allocation.
template <class T>
T* makeWorkArray(size_t count) {
    if (count > SIZE_MAX / sizeof(T) || allocationMustFail()) return nullptr;
    return new (std::nothrow) T[count];
}

template <class T>
void freeWorkArray(T* array) {
    if (!array) return;
    delete[] array;
    noteMemoryReleased();
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
