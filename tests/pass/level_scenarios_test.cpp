// Levels built from several mesh objects, walked with gravity by a sphere and
// an elongated mover at three speeds (tests/support/level_scenarios.h; the
// same runs make the `make scenarios` table, over more frames), one test per
// level and layout. No mover may fall through or end inside a solid, no pass
// may leave a mover inside a triangle (by more than a rounding error if it
// touched it, a hundredth of its radii if not, or the dip a level allows),
// and a level split into objects at one position must move every mover
// exactly as the same triangles in one mesh. A failure names the first run
// and frame of each kind of fault.
#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "support/fixture.h"
#include "support/level_scenarios.h"

namespace zeptest {
namespace {

using LevelLayout = std::pair<size_t, std::string>;

std::vector<LevelLayout> everyLevelLayout() {
    std::vector<LevelLayout> all;
    for (size_t level = 0; level < zeplevels::levels().size(); ++level)
        for (const std::string& layout : zeplevels::layoutNames(zeplevels::levels()[level]))
            all.emplace_back(level, layout);
    return all;
}

class LevelScenarioTest : public CommandTest, public ::testing::WithParamInterface<LevelLayout> {};

TEST_P(LevelScenarioTest, NoFallPassThroughOrOverlapAndTheSplitActsAsOneMesh) {
    const auto& [level, layout] = GetParam();
    // Fewer frames than the table: the suite also runs under the sanitizers.
    zeplevels::Options options;
    options.frames = 150;
    options.framesPerGoal = 25;
    const zeplevels::Level& built = zeplevels::levels()[level];
    const zeplevels::Report report = zeplevels::runLevelLayout(built, layout, options);
    std::string notes;
    for (const std::string& note : report.notes) notes += "\n  " + note;
    EXPECT_EQ(report.falls, 0) << notes;
    EXPECT_EQ(report.passThroughs, 0) << notes;
    EXPECT_LE(report.deepestOverlap, built.allowedDip) << report.overlapPasses << " passes" << notes;
    // Nor one it did not touch, by a hundredth of the radii: no mover sinks
    // into a floor or the side of a valley, touched in that pass or not.
    EXPECT_LT(report.deepest, std::max(0.01, built.allowedDip)) << notes;
    EXPECT_EQ(report.sharedMismatches, 0) << notes;
    if (layout.rfind("objects", 0) == 0) {
        EXPECT_GT(report.sharedRuns, 0);
    }
    // The movers stood on the level: about a contact per frame, or more.
    EXPECT_GT(report.contacts, report.moverFrames * 9 / 10);
}

std::string testName(const ::testing::TestParamInfo<LevelLayout>& info) {
    std::string name;
    for (const std::string& part : {zeplevels::levels()[info.param.first].name, std::string("_"), info.param.second})
        for (char c : part)
            if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') name += c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelScenarioTest, ::testing::ValuesIn(everyLevelLayout()), testName);

}  // namespace
}  // namespace zeptest
