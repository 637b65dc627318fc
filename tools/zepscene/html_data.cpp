#include "html_data.h"

#include <limits>
#include <map>
#include <set>
#include <vector>

#include "back_crossings.h"
#include "format.h"
#include "json_text.h"
#include "mesh_detail.h"
#include "packed.h"

namespace zepscene {

namespace {

// Floats go in as the host's bytes (little-endian, as every machine the page
// runs on reads them), so the page shows exactly what the runner printed.
constexpr size_t kMoverFloats = 10;  // reached, wanted, radii, ground (-1: no character)

std::vector<int32_t> moverNumbers(const Recording& recording) {
    std::set<int32_t> numbers;
    for (const PassRecord& pass : recording.passes)
        for (const MoverFrame& m : pass.movers) numbers.insert(m.object);
    return {numbers.begin(), numbers.end()};
}

struct ContactColumns {
    std::vector<uint32_t> counts;  // pass by pass, each mover's number of contacts
    // The contacts themselves, mover by mover and within a mover pass by pass.
    std::vector<float> points, normals;
    std::vector<int32_t> objects, triangles;
    std::vector<uint8_t> kinds;
};

void addContacts(ContactColumns& columns, const MoverFrame& mover) {
    for (const ContactRow& c : mover.contacts) {
        columns.points.insert(columns.points.end(), {c.point.x, c.point.y, c.point.z});
        columns.normals.insert(columns.normals.end(), {c.normal.x, c.normal.y, c.normal.z});
        columns.objects.push_back(c.object);
        columns.triangles.push_back(c.triangle);
        columns.kinds.push_back(uint8_t(c.kind));
    }
}

std::string passesJson(const Recording& recording) {
    std::string json = "[";
    for (const PassRecord& pass : recording.passes) {
        if (json.size() > 1) json += ',';
        json += '[' + std::to_string(pass.line) + ',' + std::to_string(pass.frame) + ',' +
                std::to_string(pass.frameCount) + ']';
    }
    return json + "]";
}

// A mover's slots hold NaN in the passes it did not take part in.
std::string framesJson(const Recording& recording, const std::vector<int32_t>& movers) {
    std::map<int32_t, size_t> slot;
    for (size_t i = 0; i < movers.size(); ++i) slot[movers[i]] = i;
    const size_t stride = movers.size() * kMoverFloats;
    std::vector<float> frames(recording.passes.size() * stride, std::numeric_limits<float>::quiet_NaN());
    ContactColumns contacts;
    contacts.counts.assign(recording.passes.size() * movers.size(), 0);
    for (size_t p = 0; p < recording.passes.size(); ++p)
        for (const MoverFrame& m : recording.passes[p].movers) {
            const size_t s = slot[m.object];
            float* out = &frames[p * stride + s * kMoverFloats];
            for (V3 v : {m.reached, m.wanted, m.radii}) *out++ = v.x, *out++ = v.y, *out++ = v.z;
            *out = float(m.ground);
            contacts.counts[p * movers.size() + s] = uint32_t(m.contacts.size());
        }
    // Mover by mover, pass after pass: a mover's contact points then follow
    // each other, and change little from one to the next.
    for (int32_t number : movers)
        for (const PassRecord& pass : recording.passes)
            for (const MoverFrame& m : pass.movers)
                if (m.object == number) addContacts(contacts, m);
    return "\"frames\":" + packedFloatsJson(frames, stride) + ",\"contactCounts\":" + packedJson(contacts.counts) +
           ",\"contactPoints\":" + packedFloatsJson(contacts.points, 3) + ",\"contactNormals\":" +
           packedJson(contacts.normals) + ",\"contactObjects\":" + packedJson(contacts.objects) +
           ",\"contactTriangles\":" + packedJson(contacts.triangles) + ",\"contactKinds\":" +
           packedJson(contacts.kinds);
}

std::vector<float> cornerFloats(const std::vector<Triangle>& triangles) {
    std::vector<float> floats;
    for (const Triangle& t : triangles)
        for (V3 corner : {t.a, t.b, t.c}) floats.insert(floats.end(), {corner.x, corner.y, corner.z});
    return floats;
}

// Each mesh's triangles, and apart those a mover went through from behind
// (the page marks them as wound the wrong way).
std::string meshesJson(const LevelDetail& level, const std::map<int32_t, std::vector<Triangle>>& crossed) {
    std::string json = "\"meshes\":[";
    for (const MeshDetail& mesh : level.meshes) {
        if (json.back() != '[') json += ',';
        const auto found = crossed.find(mesh.object);
        const std::vector<float> crossedCorners = found == crossed.end() ? std::vector<float>{} : cornerFloats(found->second);
        json += "{\"object\":" + std::to_string(mesh.object) + ",\"full\":" + packedJson(mesh.full) +
                ",\"coarse\":" + packedJson(mesh.coarse) + ",\"crossedFromBehind\":" + packedJson(crossedCorners) + '}';
    }
    json += "],\"level\":{\"triangles\":" + std::to_string(level.triangles) +
            ",\"full\":" + std::to_string(level.fullCount) + ",\"near\":" + jsonString(formatFloat(level.nearDistance)) +
            ",\"cell\":" + jsonString(formatFloat(level.cellSize)) + '}';
    return json;
}

std::string notesJson(const Recording& recording) {
    static const char* const kKinds[] = {"held", "failed", "warning"};
    std::string json = "\"notes\":[";
    for (const Note& note : recording.notes) {
        if (json.back() != '[') json += ',';
        json += "{\"passes\":" + std::to_string(note.passesBefore) + ",\"kind\":\"" + kKinds[int(note.kind)] +
                "\",\"text\":" + jsonString(note.text) + '}';
    }
    return json + ']';
}

std::string moversJson(const std::vector<int32_t>& movers) {
    std::string json = "\"movers\":[";
    for (int32_t number : movers) json += (json.back() == '[' ? "" : ",") + std::to_string(number);
    return json + ']';
}

}  // namespace

std::string sceneDataJson(const Recording& recording) {
    const std::vector<int32_t> movers = moverNumbers(recording);
    return "{\"script\":" + jsonString(recording.script) + ",\"passes\":" + passesJson(recording) + ',' +
           moversJson(movers) + ',' + framesJson(recording, movers) + ',' +
           meshesJson(levelDetail(recording), trianglesCrossedFromBehind(recording)) +
           ',' + notesJson(recording) + '}';
}

}  // namespace zepscene
