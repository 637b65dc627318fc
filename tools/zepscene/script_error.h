// A fault in a scene script (or a file it loads), reported as FILE:LINE: text.
#pragma once

#include <stdexcept>
#include <string>

namespace zepscene {

class ScriptError : public std::runtime_error {
public:
    ScriptError(const std::string& file, int line, const std::string& message)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + message) {}
};

}  // namespace zepscene
