// zepwalk: crowds of walkers on real levels through the public commands;
// prints per map a table of escapes, crossings, overlaps, jumps, stuck
// walkers and pass time, and the passes worth replaying.
#include <cstdio>
#include <exception>
#include <map>
#include <string>

#include "library.h"
#include "options.h"

using namespace walk;

namespace {

void printCasesOf(const Tally& total, const char* what, size_t most) {
    std::vector<Case> picked;
    for (const Case& c : total.cases)
        if (c.what.starts_with(what)) picked.push_back(c);
    if (picked.empty()) return;
    std::map<std::string, long> kinds;
    for (const Case& c : picked) ++kinds[c.what];
    std::printf("\n%zu %s case(s) (walker from 0, frame from 0)", picked.size(), what);
    if (kinds.size() > 1)
        for (const auto& [kind, count] : kinds) std::printf("; %s %ld", kind.c_str(), count);
    std::printf(":\n");
    printCases(picked, most);
}

int walkAll(const Options& options) {
    std::vector<std::pair<std::string, Tally>> rows;
    Tally total;
    for (const MapChoice& choice : options.maps) {
        const auto level = loadLevel(choice);
        Tally tally;
        for (unsigned long seed : options.seeds) {
            WalkSettings settings = options.walk;
            settings.seed = seed;
            tally.add(walkLevel(*level, settings));
        }
        std::fprintf(stderr, "%s: %ld passes\n", level->name.c_str(), tally.passes);
        rows.emplace_back(level->name, tally);
        total.add(tally);
    }
    std::printf("%zu seed(s) x %d frames x %d walkers per map\n\n", options.seeds.size(), options.walk.frames,
                options.walk.walkers);
    printTable(rows);
    for (const char* what : {"crossing", "escape", "new overlap", "stuck"}) printCasesOf(total, what, options.casesShown);
    std::printf("\nlibrary errors %d, warnings %d\n", errorCount(), warningCount());
    return errorCount() == 0 && warningCount() == 0 ? 0 : 1;
}

int churnFirst(const Options& options) {
    const auto level = loadLevel(options.maps.front());
    bool flat = false;
    const Tally tally = churnLevel(*level, options.walk, options.churnSettings, flat);
    printTable({{level->name, tally}});
    printCasesOf(tally, "crossing", options.casesShown);
    std::printf("library errors %d, warnings %d\n", errorCount(), warningCount());
    return flat && errorCount() == 0 && warningCount() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parseOptions(argc, argv);
        return options.churn ? churnFirst(options) : walkAll(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zepwalk: %s\n", error.what());
        return 2;
    }
}
