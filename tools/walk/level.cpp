#include "level.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "obj_file.h"

namespace walk {

namespace {

std::vector<Tri> inDouble(const std::vector<zepscene::Triangle>& corners) {
    std::vector<Tri> out;
    out.reserve(corners.size());
    auto d = [](zepscene::V3 v) { return D3{v.x, v.y, v.z}; };
    for (const auto& t : corners) out.push_back({d(t.a), d(t.b), d(t.c)});
    return out;
}

std::string skyPath(const std::string& path) {
    const std::filesystem::path p(path);
    return (p.parent_path() / (p.stem().string() + "-sky" + p.extension().string())).string();
}

}  // namespace

std::unique_ptr<Level> loadLevel(const MapChoice& choice) {
    auto level = std::make_unique<Level>();
    level->name = std::filesystem::path(choice.path).stem().string();
    level->radii = choice.radii;
    level->solidCorners = zepscene::loadObj(choice.path);
    if (level->solidCorners.empty()) throw std::runtime_error(choice.path + ": no triangles");
    const std::string sky = skyPath(choice.path);
    if (std::filesystem::exists(sky)) level->skyCorners = zepscene::loadObj(sky);
    level->solid = inDouble(level->solidCorners);
    level->sky = inDouble(level->skyCorners);
    level->solidGrid = std::make_unique<TriGrid>(level->solid);
    level->skyGrid = std::make_unique<TriGrid>(level->sky);
    level->lo = level->hi = level->solid.front().a;
    for (const Tri& t : level->solid)
        for (D3 c : {t.a, t.b, t.c}) {
            level->lo = lowest(level->lo, c);
            level->hi = highest(level->hi, c);
        }
    return level;
}

MapChoice parseMapChoice(const std::string& word) {
    MapChoice choice;
    const size_t equals = word.rfind('=');
    choice.path = word.substr(0, equals);
    if (equals == std::string::npos) return choice;
    double r[3];
    if (std::sscanf(word.c_str() + equals + 1, "%lfx%lfx%lf", &r[0], &r[1], &r[2]) != 3 ||
        !(r[0] > 0 && r[1] > 0 && r[2] > 0))
        throw std::runtime_error("bad radii in '" + word + "' (want PATH=RXxRYxRZ)");
    choice.radii = {r[0], r[1], r[2]};
    return choice;
}

}  // namespace walk
