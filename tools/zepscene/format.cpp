#include "format.h"

#include <charconv>

namespace zepscene {

std::string formatFloat(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string formatVec(V3 value) {
    std::string text = "(";
    text += formatFloat(value.x);
    text += ", ";
    text += formatFloat(value.y);
    text += ", ";
    text += formatFloat(value.z);
    return text += ")";
}

}  // namespace zepscene
