// The indexed paths (mesh index, broad phase, rule table) against the plain
// reference path that visits every pair and every triangle: random scenes must
// give the same results to the bit.
#include <cstdlib>

#include "support/fixture.h"
#include "support/random_scene.h"
#include "sweep/reach.h"

namespace zeptest {
namespace {

class DifferentialTest : public CommandTest {
protected:
    void TearDown() override {
        zep::linearReference = false;
        CommandTest::TearDown();
    }
    static std::vector<uint32_t> record(uint32_t seed, bool linear, const SceneSize& size) {
        zep::linearReference = linear;
        return recordRandomScene(seed, size);
    }
};

// ZEP_DIFFERENTIAL_SEEDS=N runs N scenes instead of the short default.
uint32_t seedCount() {
    const char* text = std::getenv("ZEP_DIFFERENTIAL_SEEDS");
    return text ? uint32_t(std::strtoul(text, nullptr, 10)) : 60u;
}

TEST_F(DifferentialTest, IndexedPathsMatchThePlainPathBitForBit) {
    const SceneSize size;
    size_t contactsSeen = 0;
    for (uint32_t seed = 1; seed <= seedCount(); ++seed) {
        const auto indexed = record(seed, false, size);
        const auto plain = record(seed, true, size);
        ASSERT_EQ(firstDifference(indexed, plain), "") << "seed " << seed;
        contactsSeen += indexed.size();
    }
    EXPECT_GT(contactsSeen, 0u);
}

TEST_F(DifferentialTest, ScenesAreRepeatable) {
    const SceneSize size{10, 3, 3};
    EXPECT_EQ(record(7, false, size), record(7, false, size));
    EXPECT_NE(record(7, false, size), record(8, false, size));
}

}  // namespace
}  // namespace zeptest
