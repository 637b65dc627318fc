#include "index/box_tree.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "base/allocation.h"
#include "index/tree_build.h"

namespace zep {

namespace {

// Boxes per leaf (cuts make leaves of 3 to 8): small enough to prune well,
// large enough to keep the tree shallow and its nodes few. A leaf's boxes
// lie side by side and cost little more than one; a node costs a cache
// miss. Against leaves of 2 to 4, shots and the walking crowd on 10^5
// triangles ran 6% faster.
constexpr int32_t kLeafSize = 8;

// A range of slots [begin, end) that becomes one child of a node.
struct SlotRange {
    int32_t begin;
    int32_t end;
    int32_t size() const { return end - begin; }
};

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

// Halves first, so that no sum of finite floats overflows.
float centre(float lo, float hi) { return 0.5f * lo + 0.5f * hi; }

// A digit of the sort: the first pass parts 10^6 keys of a level into runs
// that fit the cache, each of which takes three more; the 2048 counts fit in
// the first-level cache. (With 8 bits, loading 10^6 triangles took 4% longer.)
constexpr int kDigitBits = 11;
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

// The ranges a node over `range` (more than a leaf) is cut into: halves,
// each half that is not yet a leaf halved again.
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

// Fills `node` with the children of `range` and their nodes below it, their
// boxes left for setNodeBoxes.
void shapeNode(BoxTree& made, const uint64_t* keys, int32_t node, SlotRange range) {
    SlotRange parts[kBoxTreeLanes] = {range};
    const int lanes = range.size() > kLeafSize ? cutRange(keys, range, parts) : 1;
    const Box3 empty{{HUGE_VALF, HUGE_VALF, HUGE_VALF}, {-HUGE_VALF, -HUGE_VALF, -HUGE_VALF}};
    BoxTreeNode& filled = made.nodes[node];
    for (int lane = 0; lane < kBoxTreeLanes; ++lane) {
        setLaneBox(filled, lane, empty);
        filled.first[lane] = 0;
        filled.count[lane] = -1;
    }
    for (int lane = 0; lane < lanes; ++lane) {
        const SlotRange part = parts[lane];
        if (part.size() <= kLeafSize) {
            filled.first[lane] = part.begin;
            filled.count[lane] = part.size();
            continue;
        }
        const int32_t child = made.nodeCount++;
        filled.first[lane] = child;
        filled.count[lane] = 0;
        shapeNode(made, keys, child, part);
    }
}

// One pass of a counting sort on the digit at `shift`, from `from` to `to`,
// keeping the order of equal digits; `ends[d]` is then where the keys of
// digit d end. False, with nothing moved, when every key has the same digit.
bool sortPass(const uint64_t* from, uint64_t* to, int32_t count, int shift, int32_t (&ends)[kDigits]) {
    const auto digit = [shift](uint64_t key) { return int32_t(key >> shift) & (kDigits - 1); };
    int32_t starts[kDigits] = {};
    for (int32_t i = 0; i < count; ++i) ++starts[digit(from[i])];
    if (starts[digit(from[0])] == count) return false;
    int32_t next = 0;
    for (int32_t& start : starts) next += std::exchange(start, next);
    for (int32_t i = 0; i < count; ++i) to[starts[digit(from[i])]++] = from[i];
    std::copy(starts, starts + kDigits, ends);
    return true;
}

// Sorts the keys on their bits from `low` to below `high` (those above are
// alike or already in order), least significant digit first; they end in
// `keys`, `spare` being room for the passes.
void sortDigits(uint64_t* keys, uint64_t* spare, int32_t count, int low, int high) {
    if (count < 2) return;
    uint64_t* from = keys;
    uint64_t* to = spare;
    int32_t ends[kDigits];
    for (int shift = low; shift < high; shift += kDigitBits)
        if (sortPass(from, to, count, shift, ends)) std::swap(from, to);
    if (from != keys) std::copy(from, from + count, keys);
}

// The highest digit first, which parts the keys into runs small enough for
// the cache; then each run on its lower digits. Sorting all of them digit by
// digit instead read and wrote every key from memory six times at 10^6.
// Only the cell bits are sorted: the numbers below them start in order, and
// every pass keeps the order of equal digits.
void sortCurveKeys(CurveKeys& curve) {
    const int high = curve.numberBits + 3 * curve.cellBits;
    const int topShift = std::max(curve.numberBits, high - kDigitBits);
    int32_t ends[kDigits];
    if (!sortPass(curve.keys, curve.spare, curve.count, topShift, ends)) {
        sortDigits(curve.keys, curve.spare, curve.count, curve.numberBits, topShift);
        return;
    }
    for (int32_t d = 0, begin = 0; d < kDigits; begin = ends[d++])
        sortDigits(curve.spare + begin, curve.keys + begin, ends[d] - begin, curve.numberBits, topShift);
    std::swap(curve.keys, curve.spare);
}

}  // namespace

bool makeCurveKeys(CurveKeys& curve, int32_t count, const Box3& bounds, void* room) {
    curve.lent = room != nullptr;
    curve.keys = curve.lent ? static_cast<uint64_t*>(room) : makeWorkArray<uint64_t>(size_t(count));
    curve.spare = curve.lent ? curve.keys + count : makeWorkArray<uint64_t>(size_t(count));
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
        curve.lo[axis] = float(lo[axis]);
        side = std::max(side, hi[axis] - lo[axis]);
    }
    curve.lastCell = float((uint32_t(1) << curve.cellBits) - 1);
    curve.scale = side > 0.0 ? float(double(curve.lastCell) / side) : 0.0f;
    return true;
}

void freeCurveKeys(CurveKeys& curve) {
    if (!curve.lent) {
        freeWorkArray(curve.keys);
        freeWorkArray(curve.spare);
    }
    curve = CurveKeys{};
}

uint64_t curveKey(const CurveKeys& curve, const Box3& box, int32_t number) {
    const float at[3] = {centre(box.lo.x, box.hi.x), centre(box.lo.y, box.hi.y), centre(box.lo.z, box.hi.z)};
    uint64_t cell = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const float along = (at[axis] - curve.lo[axis]) * curve.scale;
        // Written so that NaN lands in cell 0, and infinity in the last,
        // rather than in a conversion out of range.
        const uint32_t index = along >= 0.0f ? uint32_t(std::min(along, curve.lastCell)) : 0u;
        cell |= spreadBits(index) << axis;
    }
    return cell << curve.numberBits | uint64_t(number);
}

bool shapeAlongKeys(BoxTree& made, CurveKeys& curve) {
    sortCurveKeys(curve);
    made.order = makeTreeArray<int32_t>(made.memory, size_t(curve.count));
    const int32_t nodeCount = made.order ? countNodes(curve.keys, SlotRange{0, curve.count}) : 0;
    if (made.order) made.nodes = makeTreeArray<BoxTreeNode>(made.memory, size_t(nodeCount));
    if (!made.order || !made.nodes) {
        freeBoxTree(made);
        return false;
    }
    prepareToWrite(made.order, size_t(curve.count) * sizeof(int32_t));
    prepareToWrite(made.nodes, size_t(nodeCount) * sizeof(BoxTreeNode));
    const uint64_t number = (uint64_t(1) << curve.numberBits) - 1;
    for (int32_t slot = 0; slot < curve.count; ++slot) made.order[slot] = int32_t(curve.keys[slot] & number);
    made.boxCount = curve.count;
    made.nodeCount = 1;
    shapeNode(made, curve.keys, 0, SlotRange{0, curve.count});
    return true;
}

Box3 nodeBox(const BoxTreeNode& node) {
    Box3 box = laneBox(node, 0);
    for (int lane = 1; lane < kBoxTreeLanes; ++lane) box = unite(box, laneBox(node, lane));
    return box;
}

void setLaneBox(BoxTreeNode& node, int lane, const Box3& box) {
    const float lo[3] = {box.lo.x, box.lo.y, box.lo.z}, hi[3] = {box.hi.x, box.hi.y, box.hi.z};
    for (int axis = 0; axis < 3; ++axis) {
        node.lo[axis][lane] = lo[axis];
        node.hi[axis][lane] = hi[axis];
    }
}

bool buildBoxTree(BoxTree& tree, const Box3* boxes, int32_t count) {
    if (count <= 0) {
        freeBoxTree(tree);
        return true;
    }
    Box3 bounds = boxes[0];
    for (int32_t i = 1; i < count; ++i) bounds = unite(bounds, boxes[i]);
    BoxTree made{tree.memory};
    if (!shapeBoxTree(made, count, bounds, [boxes](int32_t number) { return boxes[number]; }, nullptr)) return false;
    setNodeBoxes(made, [&made, boxes](int32_t slot) { return boxes[made.order[slot]]; });
    freeBoxTree(tree);
    tree = made;
    return true;
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
