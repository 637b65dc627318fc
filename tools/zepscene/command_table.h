// The commands (the 26 and the character commands) as a script names them: argument names and kinds, result
// kind, and how to call the library with the parsed words.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zepscene {

enum class ArgKind { Int, Float };
enum class ResultKind { None, Int, Float };

struct ArgSpec {
    const char* name;
    ArgKind kind;
};

struct CommandInfo {
    const char* name;
    std::vector<ArgSpec> args;
    bool trailingIgnored;  // three ignored words that a script may leave out
    ResultKind result;
    int32_t (*call)(const int32_t* words);  // null: not callable from a script
};

// The command called name (exact spelling), or null.
const CommandInfo* findCommand(std::string_view name);

// Every command, in ordinal order.
const std::vector<CommandInfo>& allCommands();

}  // namespace zepscene
