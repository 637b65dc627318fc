// A build of the shared library loaded at run time, with its commands
// resolved into a table. RTLD_LOCAL keeps each build's symbols to itself, so
// two builds loaded from different paths live side by side in one process,
// each with its own world.
#pragma once

#include <string>

#include "commands.h"

namespace zepbench {

struct LoadedLibrary {
    std::string path;
    void* handle = nullptr;
    Commands commands;
};

// dlopen(path, RTLD_NOW | RTLD_LOCAL) and dlsym of every command. Stops the
// program with a message naming what is missing when the file does not load
// or lacks a command.
LoadedLibrary loadLibrary(const std::string& path);

}  // namespace zepbench
