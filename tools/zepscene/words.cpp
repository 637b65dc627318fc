#include "words.h"

#include <charconv>
#include <sstream>

namespace zepscene {

std::vector<std::string> splitWords(std::string_view line) {
    const size_t comment = line.find('#');
    if (comment != std::string_view::npos) line = line.substr(0, comment);
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::optional<int32_t> parseInt(std::string_view word) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    int64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end) return std::nullopt;
    if (value < INT32_MIN || value > int64_t(UINT32_MAX)) return std::nullopt;
    return int32_t(uint32_t(value));
}

std::optional<float> parseFloat(std::string_view word) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    float value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace zepscene
