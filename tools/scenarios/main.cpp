// zepscenarios: walks movers through levels built from several mesh objects
// and prints what went wrong per level (see tests/support/level_scenarios.h),
// then the first faults of each kind. Links only the exported commands, so it
// builds against any version of the library.
#include <cstdio>

#include "support/level_scenarios.h"

int main() {
    std::vector<zeplevels::Report> reports;
    std::puts(zeplevels::tableHeader().c_str());
    for (const zeplevels::Level& level : zeplevels::levels()) {
        reports.push_back(zeplevels::runLevel(level));
        std::puts(zeplevels::tableRow(reports.back()).c_str());
        std::fflush(stdout);
    }
    std::puts("");
    for (const zeplevels::Report& report : reports)
        for (const std::string& note : report.notes) std::printf("%s: %s\n", report.level.c_str(), note.c_str());
    return 0;
}
