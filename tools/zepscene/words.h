// Splitting a script line into words and reading numbers out of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zepscene {

// The words of a line, with everything from a '#' on dropped.
std::vector<std::string> splitWords(std::string_view line);

// A whole-word decimal integer that fits 32 bits (signed, or unsigned up to
// 4294967295, which wraps as the host's 32-bit word would); nothing otherwise.
std::optional<int32_t> parseInt(std::string_view word);

// A whole-word decimal float ("1", "-0.5", "1e3", "nan", "inf").
std::optional<float> parseFloat(std::string_view word);

}  // namespace zepscene
