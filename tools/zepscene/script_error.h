// A fault in a scene script (or a file it loads), reported as FILE:LINE: text,
// or FILE: text for the file as a whole (line 0).
#pragma once

#include <stdexcept>
#include <string>

namespace zepscene {

class ScriptError : public std::runtime_error {
public:
    ScriptError(const std::string& file, int line, const std::string& message)
        : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message) {}
};

}  // namespace zepscene
