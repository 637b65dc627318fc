// zepscene: runs a scene script against zepcollide the way a host program
// would, prints what the host would read back, and can draw the run.
//
//   zepscene [--debug] [--svg FILE] SCRIPT
#include <fstream>
#include <iostream>
#include <string>

#include "runner.h"
#include "script.h"
#include "script_error.h"
#include "svg_scene.h"

namespace {

struct Options {
    std::string script, svg;
    bool debug = false;
};

const char* const kUsage =
    "usage: zepscene [--debug] [--svg FILE] SCRIPT\n"
    "  --debug     show the error box text of every failing command\n"
    "  --svg FILE  draw the run (top and side view) into FILE\n";

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--debug") options.debug = true;
        else if (arg == "--svg" && i + 1 < argc) options.svg = argv[++i];
        else if (arg.empty() || arg[0] == '-' || !options.script.empty()) return false;
        else options.script = arg;
    }
    return !options.script.empty();
}

bool writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        const zepscene::Script script = zepscene::readScript(options.script);
        zepscene::Runner runner(std::cout, options.debug);
        runner.run(script);
        if (!options.svg.empty() && !writeFile(options.svg, zepscene::sceneSvg(runner.recording()))) {
            std::cerr << "zepscene: cannot write " << options.svg << '\n';
            return 1;
        }
    } catch (const zepscene::ScriptError& error) {
        std::cout.flush();
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
