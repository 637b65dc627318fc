#include "format.h"

#include <charconv>

namespace zepscene {

std::string formatFloat(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string formatVec(V3 value) {
    return "(" + formatFloat(value.x) + ", " + formatFloat(value.y) + ", " + formatFloat(value.z) + ")";
}

}  // namespace zepscene
