// Common ground for tests that drive the exported commands: a clean world
// before and after each test, and a recorder standing in for the error box.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "zepcollide.h"

namespace zeptest {

struct Box {
    std::string text;
    std::string caption;
};

class CommandTest : public ::testing::Test {
protected:
    std::vector<Box> boxes;

    void SetUp() override {
        StopCollisionZEP();
        disarmDebugMessages();
        zepSetMessageHandler(&CommandTest::record, this);
    }
    void TearDown() override {
        StopCollisionZEP();
        disarmDebugMessages();
        zepSetMessageHandler(nullptr, nullptr);
    }

    // The texts of the boxes shown so far.
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const Box& box : boxes) result.push_back(box.text);
        return result;
    }

    static void disarmDebugMessages();

private:
    static void record(const char* text, const char* caption, void* context) {
        static_cast<CommandTest*>(context)->boxes.push_back(Box{text, caption});
    }
};

inline uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Compares a float result from a command with an expected float, bit for bit.
#define EXPECT_FLOAT_BITS(expected, result) \
    EXPECT_EQ(::zeptest::bitsOf(float(expected)), ::zeptest::bitsOf(zepFloat(result)))

}  // namespace zeptest
