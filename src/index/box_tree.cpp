#include "index/box_tree.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "base/allocation.h"
#include "index/tree_build.h"

namespace zep {

namespace {

template <class T>
T* makeTreeArray(TreeMemory memory, size_t count) {
    return memory == TreeMemory::kRecord ? makeArray<T>(count) : makeWorkArray<T>(count);
}

// The 21 low bits of v, moved to every third bit.
uint64_t spreadBits(uint32_t v) {
    uint64_t x = v & 0x1fffffu;
    x = (x | x << 32) & 0x1f00000000ffffull;
    x = (x | x << 16) & 0x1f0000ff0000ffull;
    x = (x | x << 8) & 0x100f00f00f00f00full;
    x = (x | x << 4) & 0x10c30c30c30c30c3ull;
    x = (x | x << 2) & 0x1249249249249249ull;
    return x;
}

double centre(float lo, float hi) { return 0.5 * (double(lo) + double(hi)); }

// A digit of the sort: 256 counts, and as many places written to at once,
// few enough for the cache and the address translation to keep up with. (2048
// made fewer passes but each one took twice as long.)
constexpr int kDigitBits = 8;
constexpr int32_t kDigits = 1 << kDigitBits;

// A split leaves at least this share (three eighths) of a range on either
// side, so that a tree of any count stays shallow, while most cuts can
// still fall on a boundary of a large cell of the curve (cutPoint).
constexpr int32_t leastSide(int32_t size) { return int32_t(int64_t(size) * 3 / 8); }

// How many nodes deep the tree of `count` boxes can be.
constexpr int deepestTree(int32_t count) {
    int depth = 0;
    for (; count > kLeafSize; ++depth) {
        count -= leastSide(count);
        if (count > kLeafSize) count -= leastSide(count);
    }
    return depth;
}
// A walk keeps at most three siblings of each node above the one it enters,
// and that node's four children.
static_assert(3 * deepestTree(INT32_MAX) + 1 <= kBoxTreeStackDepth);

// Where a range of sorted keys is cut in two: at the boundary of the largest
// cell of the curve that the middle quarter of the range crosses, so that
// neither side's box spans a jump of the curve. The keys there share every
// bit above the highest one in which the quarter's first and last differ,
// and that bit turns from 0 to 1 once, where the cut goes. Against cutting
// every range at its middle, shots on 10^5 triangles took 37% more
// instructions (and 6% more with the median splits on the longest axis
// that came before).
int32_t cutPoint(const uint64_t* keys, SlotRange range) {
    const int32_t first = range.begin + leastSide(range.size()), last = range.end - leastSide(range.size());
    const uint64_t bit = std::bit_floor(keys[first - 1] ^ keys[last]);
    return int32_t(std::partition_point(keys + first, keys + last, [bit](uint64_t key) { return !(key & bit); }) - keys);
}

// How many nodes the tree over `range` has, found by making the same cuts
// the build will, so that the node array is made once at its size.
int32_t countNodes(const uint64_t* keys, SlotRange range) {
    if (range.size() <= kLeafSize) return 1;
    SlotRange parts[kBoxTreeLanes];
    const int lanes = cutRange(keys, range, parts);
    int32_t nodes = 1;
    for (int lane = 0; lane < lanes; ++lane)
        if (parts[lane].size() > kLeafSize) nodes += countNodes(keys, parts[lane]);
    return nodes;
}

// Boxes kept in an array by number.
struct ArrayBoxes {
    const Box3* boxes;
    const Box3& numbered(int32_t number) const { return boxes[number]; }
    const Box3& slotted(int32_t, int32_t number) const { return boxes[number]; }
};

}  // namespace

bool makeCurveKeys(CurveKeys& curve, int32_t count, const Box3& bounds) {
    curve.keys = makeWorkArray<uint64_t>(size_t(count));
    curve.spare = makeWorkArray<uint64_t>(size_t(count));
    if (!curve.keys || !curve.spare) {
        freeCurveKeys(curve);
        return false;
    }
    curve.count = count;
    // The number takes the bits the count needs, the cell the rest, a third
    // per axis: 14 bits per axis for 10^6 boxes, 13 for 10^7.
    curve.numberBits = std::bit_width(uint32_t(count - 1));
    curve.cellBits = std::min(21, (64 - curve.numberBits) / 3);
    // One scale for all three axes, so that the curve halves the longest
    // side first, as a split across the longest axis would, and a flat
    // level is not cut into slices along its thin side.
    const double lo[3] = {bounds.lo.x, bounds.lo.y, bounds.lo.z}, hi[3] = {bounds.hi.x, bounds.hi.y, bounds.hi.z};
    double side = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        curve.lo[axis] = lo[axis];
        side = std::max(side, hi[axis] - lo[axis]);
    }
    curve.scale = side > 0.0 ? double((uint64_t(1) << curve.cellBits) - 1) / side : 0.0;
    return true;
}

void freeCurveKeys(CurveKeys& curve) {
    freeWorkArray(curve.keys);
    freeWorkArray(curve.spare);
    curve = CurveKeys{};
}

uint64_t curveKey(const CurveKeys& curve, const Box3& box, int32_t number) {
    const double at[3] = {centre(box.lo.x, box.hi.x), centre(box.lo.y, box.hi.y), centre(box.lo.z, box.hi.z)};
    const double lastCell = double((uint64_t(1) << curve.cellBits) - 1);
    uint64_t cell = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const double along = (at[axis] - curve.lo[axis]) * curve.scale;
        // Written so that NaN lands in cell 0 rather than in a conversion out
        // of range.
        const uint32_t index = along >= 0.0 ? uint32_t(std::min(along, lastCell)) : 0u;
        cell |= spreadBits(index) << axis;
    }
    return cell << curve.numberBits | uint64_t(number);
}

// Least significant digit first, over the cell bits only: the numbers below
// them start in order, and every pass keeps the order of equal digits.
void sortCurveKeys(CurveKeys& curve) {
    uint64_t* from = curve.keys;
    uint64_t* to = curve.spare;
    for (int shift = curve.numberBits; shift < curve.numberBits + 3 * curve.cellBits; shift += kDigitBits) {
        const auto digit = [shift](uint64_t key) { return int32_t(key >> shift) & (kDigits - 1); };
        int32_t starts[kDigits] = {};
        for (int32_t i = 0; i < curve.count; ++i) ++starts[digit(from[i])];
        // A digit that every key shares leaves the order as it is.
        if (starts[digit(from[0])] == curve.count) continue;
        int32_t next = 0;
        for (int32_t& start : starts) next += std::exchange(start, next);
        for (int32_t i = 0; i < curve.count; ++i) to[starts[digit(from[i])]++] = from[i];
        std::swap(from, to);
    }
    curve.keys = from;
    curve.spare = to;
}

int cutRange(const uint64_t* keys, SlotRange range, SlotRange (&parts)[kBoxTreeLanes]) {
    const int32_t middle = cutPoint(keys, range);
    const SlotRange halves[2] = {{range.begin, middle}, {middle, range.end}};
    int count = 0;
    for (const SlotRange& half : halves) {
        if (half.size() <= kLeafSize) {
            parts[count++] = half;
            continue;
        }
        const int32_t quarter = cutPoint(keys, half);
        parts[count++] = SlotRange{half.begin, quarter};
        parts[count++] = SlotRange{quarter, half.end};
    }
    return count;
}

bool makeTreeArrays(BoxTree& made, const CurveKeys& curve) {
    made.order = makeTreeArray<int32_t>(made.memory, size_t(curve.count));
    if (made.order)
        made.nodes = makeTreeArray<BoxTreeNode>(made.memory, size_t(countNodes(curve.keys, SlotRange{0, curve.count})));
    if (!made.order || !made.nodes) {
        freeBoxTree(made);
        return false;
    }
    const uint64_t number = (uint64_t(1) << curve.numberBits) - 1;
    for (int32_t slot = 0; slot < curve.count; ++slot) made.order[slot] = int32_t(curve.keys[slot] & number);
    made.boxCount = curve.count;
    return true;
}

void setLane(BoxTreeNode& node, int lane, const Box3& box, int32_t first, int32_t count) {
    const float lo[3] = {box.lo.x, box.lo.y, box.lo.z}, hi[3] = {box.hi.x, box.hi.y, box.hi.z};
    for (int axis = 0; axis < 3; ++axis) {
        node.lo[axis][lane] = lo[axis];
        node.hi[axis][lane] = hi[axis];
    }
    node.first[lane] = first;
    node.count[lane] = count;
}

bool buildBoxTree(BoxTree& tree, const Box3* boxes, int32_t count) {
    return buildBoxTree(tree, count, ArrayBoxes{boxes});
}

namespace {

// Slots turned back into the numbers of the boxes they hold.
int32_t boxNumbers(const BoxTree& tree, int32_t* out, int32_t found) {
    for (int32_t i = 0; i < found; ++i) out[i] = tree.order[out[i]];
    return found;
}

}  // namespace

int32_t queryBoxTree(const BoxTree& tree, const Box3* boxes, const SweptBox& query, int32_t* out) {
    const auto slotBox = [&](int32_t slot) -> const Box3& { return boxes[tree.order[slot]]; };
    return boxNumbers(tree, out, querySlots(tree, slotBox, [&](const Box3& box) { return query.meets(box); }, out));
}

}  // namespace zep
