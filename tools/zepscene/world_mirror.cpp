#include "world_mirror.h"

#include <cstring>
#include <string_view>

#include "zepcollide.h"

namespace zepscene {

namespace {

V3 position(const int32_t* words) { return {zepFloat(words[1]), zepFloat(words[2]), zepFloat(words[3])}; }

bool inRange(int32_t object) { return uint32_t(object) <= 5000; }

}  // namespace

MirrorObject* WorldMirror::valid(int32_t object) {
    if (!started_ || !inRange(object)) return nullptr;
    const auto found = objects_.find(object);
    return found == objects_.end() ? nullptr : &found->second;
}

const MirrorObject* WorldMirror::find(int32_t object) const {
    return const_cast<WorldMirror*>(this)->valid(object);
}

void WorldMirror::apply(const CommandInfo& command, const int32_t* words) {
    const std::string_view name = command.name;
    // Moving a mover leaves the meshes as they were; so do queries and passes.
    const MirrorObject* named = command.args.empty() ? nullptr : valid(words[0]);
    const bool meshesKept = command.result != ResultKind::None || name == "RunCollisionZEP" ||
                            (name == "UpdateObjZEP" && named && !named->mesh);
    if (!meshesKept) ++meshVersion_;
    if (name == "StartCollisionZEP") started_ = true;
    if (name == "StopCollisionZEP") {
        started_ = false;
        objects_.clear();
    }
    if (name == "NewCollObjZEP" && started_ && inRange(words[0])) objects_[words[0]] = MirrorObject{};
    applyObjectCommand(command, words);
    applyShapeCommand(command, words);
}

void WorldMirror::applyObjectCommand(const CommandInfo& command, const int32_t* words) {
    const std::string_view name = command.name;
    MirrorObject* object = command.args.empty() ? nullptr : valid(words[0]);
    if (!object || name == "NewCollObjZEP") return;
    if (name == "ActivateObjZEP") object->active = true;
    if (name == "DeActivateObjZEP") object->active = false;
    if (name == "UpdateObjZEP") {
        object->previous = object->current;
        object->current = position(words);
    }
    if (name == "FreeObjZEP") objects_.erase(words[0]);
}

void WorldMirror::applyShapeCommand(const CommandInfo& command, const int32_t* words) {
    const std::string_view name = command.name;
    MirrorObject* object = command.args.empty() ? nullptr : valid(words[0]);
    if (!object) return;
    if (name == "AddObjShapeZEP" && words[1] == 1) object->mover = true;
    if (name == "AddObjShapeZEP" && words[1] == 2) object->mesh = true;
    if (name == "SetCharacterZEP" && object->mover) object->character = true;
    if (name == "SetObjRadiusZEP" && object->mover) {
        const V3 radii = position(words);
        if (radii.x > 0 && radii.y > 0 && radii.z > 0) object->radii = radii;
    }
    if (name == "AddMeshTri" && object->mesh) {
        const V3 a = position(words), b = position(words + 3), c = position(words + 6);
        if (keepTriangles_) object->triangles.push_back({a, b, c});
        ++object->triangleCount;
    }
}

void WorldMirror::addTriangles(int32_t object, const std::vector<Triangle>& triangles) {
    MirrorObject* found = valid(object);
    if (!found || !found->mesh) return;
    ++meshVersion_;
    found->triangleCount += triangles.size();
    if (keepTriangles_) found->triangles.insert(found->triangles.end(), triangles.begin(), triangles.end());
}

void WorldMirror::setPosition(int32_t object, V3 position) {
    if (MirrorObject* found = valid(object)) found->current = position;
}

std::vector<int32_t> WorldMirror::activeMovers() const {
    std::vector<int32_t> movers;
    for (const auto& [number, object] : objects_)
        if (object.mover && object.active) movers.push_back(number);
    return movers;
}

}  // namespace zepscene
