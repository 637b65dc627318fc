#include "index/triangle_index.h"

#include <algorithm>
#include <cmath>

#include "base/allocation.h"
#include "base/scratch.h"
#include "index/box_tree.h"
#include "world/shapes.h"

namespace zep {

namespace {

// Triangles added since the last build are checked one by one; they are
// folded into a new tree once there are this many, or a quarter of the tree.
constexpr int32_t kLongestTail = 256;

// Every change of any index gets a number never used before, so that a
// cache can tell the state it was gathered from even across freed meshes.
uint64_t lastVersion = 0;

Box3 triangleBox(const MeshTriangle& t) {
    return Box3{{std::min({t.corner1.x, t.corner2.x, t.corner3.x}),
                 std::min({t.corner1.y, t.corner2.y, t.corner3.y}),
                 std::min({t.corner1.z, t.corner2.z, t.corner3.z})},
                {std::max({t.corner1.x, t.corner2.x, t.corner3.x}),
                 std::max({t.corner1.y, t.corner2.y, t.corner3.y}),
                 std::max({t.corner1.z, t.corner2.z, t.corner3.z})}};
}

bool finiteTriangle(const MeshTriangle& t) {
    for (const Vec3& c : {t.corner1, t.corner2, t.corner3})
        if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.z)) return false;
    return true;
}

template <class T>
bool grow(T*& array, int32_t used, int32_t wanted) {
    T* bigger = makeArray<T>(size_t(wanted));
    if (!bigger) return false;
    std::copy(array, array + used, bigger);
    freeArray(array);
    array = bigger;
    return true;
}

bool reserve(TriangleIndex& index, int32_t wanted) {
    if (wanted <= index.capacity) return true;
    const int32_t capacity = std::max(wanted, int32_t(std::min<int64_t>(INT32_MAX, int64_t(index.capacity) * 2)));
    if (!grow(index.triangles, index.listed, capacity) || !grow(index.triangleBoxes, index.listed, capacity))
        return false;
    index.capacity = capacity;
    return true;
}

// Appends the triangles added to the mesh since the last refresh.
bool listNewTriangles(MeshShape& mesh, TriangleIndex& index) {
    if (index.listed == mesh.triangleCount) return true;
    if (!reserve(index, mesh.triangleCount)) return false;
    const MeshTriangle* t = index.listed ? index.triangles[index.listed - 1]->next : mesh.trianglesHead;
    for (; t; t = t->next) {
        const Box3 box = triangleBox(*t);
        index.bounds = index.listed ? unite(index.bounds, box) : box;
        index.allFinite = index.allFinite && finiteTriangle(*t);
        index.triangles[index.listed] = t;
        index.triangleBoxes[index.listed++] = box;
    }
    return true;
}

bool tailTooLong(const TriangleIndex& index) {
    const int32_t tail = index.listed - index.tree.boxCount;
    return tail > std::max(kLongestTail, index.tree.boxCount / 4);
}

}  // namespace

namespace {

bool refresh(MeshShape& mesh, TriangleIndex& index) {
    const int32_t listedBefore = index.listed;
    if (!listNewTriangles(mesh, index)) return false;
    if (index.version == 0 || index.listed != listedBefore) index.version = ++lastVersion;
    // A mesh with a corner that is not finite is always swept whole; its
    // boxes would not even sort.
    if (!index.allFinite) return true;
    return !tailTooLong(index) || buildBoxTree(index.tree, index.triangleBoxes, index.listed);
}

// True when an earlier refresh ran out of memory and neither the mesh nor
// the memory at hand has changed since.
bool stillFailing(const MeshShape& mesh, const TriangleIndex& index) {
    return index.failed && index.failedWithTriangles == mesh.triangleCount &&
           index.failedAtRelease == memoryReleases();
}

}  // namespace

bool refreshTriangleIndex(MeshShape& mesh) {
    if (!mesh.index) {
        mesh.index = makeRecord<TriangleIndex>();
        if (!mesh.index) return false;
    }
    TriangleIndex& index = *mesh.index;
    if (stillFailing(mesh, index)) return false;
    index.failed = !refresh(mesh, index);
    index.failedWithTriangles = mesh.triangleCount;
    index.failedAtRelease = memoryReleases();
    return !index.failed;
}

bool meshBounds(const MeshShape& mesh, Box3& out) {
    if (mesh.triangleCount == 0 || !mesh.allFinite) return false;
    out = mesh.bounds;
    return true;
}

int32_t gatherCandidates(const TriangleIndex& index, const Box3& query, const int32_t** places, int32_t most) {
    int32_t* out = scratchPlaces(index.listed);
    if (!out) return -1;
    int32_t found = queryBoxTree(index.tree, index.triangleBoxes, query, out, most);
    if (found > most) return found;
    std::sort(out, out + found);
    for (int32_t place = index.tree.boxCount; place < index.listed && found <= most; ++place)
        if (boxesOverlap(index.triangleBoxes[place], query)) out[found++] = place;
    *places = out;
    return found;
}

}  // namespace zep
