// Common ground for tests that drive the exported commands: a clean world
// before and after each test, and a recorder standing in for the error box.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/bits.h"
#include "support/checks.h"
#include "zepcollide.h"

namespace zeptest {

class CommandTest : public ::testing::Test {
protected:
    std::vector<Box> boxes;

    void SetUp() override { toLoadState(); }
    void TearDown() override {
        toLoadState();
        zepSetMessageHandler(nullptr, nullptr);
    }
    // Stopped, with no box armed and boxes recorded from here on: arming and
    // then failing the object check (which -1 fails, started or not) uses up
    // whatever arming came before.
    void toLoadState() {
        zepSetMessageHandler(&CommandTest::record, this);
        StopCollisionZEP();
        StartCollisionDebugZEP();
        FreeObjZEP(-1);
        boxes.clear();
    }

    // The texts of the boxes shown so far.
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const Box& box : boxes) result.push_back(box.text);
        return result;
    }

private:
    static void record(const char* text, const char* caption, void* context) {
        static_cast<CommandTest*>(context)->boxes.push_back(Box{text, caption});
    }
};

}  // namespace zeptest
