#include "json_text.h"

#include <cstdio>

namespace zepscene {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        // '<' and '>' escaped keep "</script>" in a note from ending the element.
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (c == '<' || c == '>' || c == '&' || uint8_t(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", unsigned(uint8_t(c)));
            out += code;
        } else out += c;
    }
    return out + "\"";
}

std::string escapeXml(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

}  // namespace zepscene
