// Levels built from several mesh objects, walked with gravity by a sphere and
// an elongated mover at three speeds (tests/support/level_scenarios.h; the
// same runs make the `make scenarios` table, over more frames). No mover may
// fall through or end inside a solid, no pass may leave a mover inside a
// triangle it touched, and a level split into objects at one position must
// move every mover exactly as the same triangles in one mesh.
#include <cctype>
#include <cstdio>
#include <string>

#include "support/fixture.h"
#include "support/level_scenarios.h"

namespace zeptest {
namespace {

class LevelScenarioTest : public CommandTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(LevelScenarioTest, NoFallPassThroughOrOverlapAndTheSplitActsAsOneMesh) {
    const zeplevels::Level& level = zeplevels::levels()[GetParam()];
    // Fewer frames than the table: the suite also runs under the sanitizers.
    zeplevels::Options options;
    options.frames = 150;
    options.framesPerGoal = 25;
    const zeplevels::Report report = zeplevels::runLevel(level, options);
    EXPECT_EQ(report.falls, 0);
    EXPECT_EQ(report.passThroughs, 0);
    EXPECT_EQ(report.overlapPasses, 0) << "deepest " << report.deepestOverlap;
    EXPECT_EQ(report.sharedMismatches, 0);
    EXPECT_GT(report.sharedRuns, 0);
    // The movers stood on the level: about a contact per frame, or more.
    EXPECT_GT(report.contacts, report.moverFrames * 9 / 10);
    if (HasFailure())
        for (const std::string& note : report.notes) std::printf("  %s\n", note.c_str());
}

std::string levelName(const ::testing::TestParamInfo<size_t>& info) {
    std::string name;
    for (char c : zeplevels::levels()[info.param].name)
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelScenarioTest, ::testing::Range<size_t>(0, zeplevels::levels().size()),
                         levelName);

}  // namespace
}  // namespace zeptest
