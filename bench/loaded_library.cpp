#include "loaded_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace zepbench {

namespace {

// The command `name` of the library, or null when it has none.
template <typename Function>
void resolve(void* handle, const char* name, Function& into) {
    into = reinterpret_cast<Function>(dlsym(handle, name));
}

}  // namespace

LoadedLibrary loadLibrary(const std::string& path) {
    LoadedLibrary library;
    library.path = path;
    library.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library.handle) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), dlerror());
        std::exit(1);
    }
    Commands& table = library.commands;
    std::string missing;
#define ZEPBENCH_RESOLVE(name)                       \
    resolve(library.handle, #name, table.name);      \
    if (!table.name) missing += " " #name;
    ZEPBENCH_COMMANDS(ZEPBENCH_RESOLVE)
#undef ZEPBENCH_RESOLVE
#define ZEPBENCH_RESOLVE_LATER(name) resolve(library.handle, #name, table.name);
    ZEPBENCH_LATER_COMMANDS(ZEPBENCH_RESOLVE_LATER)
#undef ZEPBENCH_RESOLVE_LATER
    if (!missing.empty()) {
        std::fprintf(stderr, "%s lacks commands:%s\n", path.c_str(), missing.c_str());
        std::exit(1);
    }
    return library;
}

}  // namespace zepbench
