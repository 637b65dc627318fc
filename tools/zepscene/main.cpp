// zepscene: runs a scene script against zepcollide the way a host program
// would, prints what the host would read back, and can draw the run.
//
//   zepscene [--debug] [--no-warnings] [--svg FILE] SCRIPT
#include <cerrno>
#include <cstring>
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
    zepscene::RunOptions run;
    bool help = false;
};

const char* const kUsage =
    "usage: zepscene [--debug] [--no-warnings] [--svg FILE] SCRIPT\n"
    "  --debug        show the error box text of every failing command\n"
    "  --no-warnings  do not print the calls the library ignored without a box\n"
    "  --svg FILE     draw the run (top and side view) into FILE\n"
    "  --help         show this text\n";

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") options.help = true;
        else if (arg == "--debug") options.run.debug = true;
        else if (arg == "--no-warnings") options.run.warnings = false;
        else if (arg == "--svg" && i + 1 < argc) options.svg = argv[++i];
        else if (arg.empty() || arg[0] == '-' || !options.script.empty()) return false;
        else options.script = arg;
    }
    return options.help || !options.script.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    try {
        const zepscene::Script script = zepscene::readScript(options.script);
        // Opened before the run, so a path that cannot be written fails at once.
        std::ofstream svg;
        if (!options.svg.empty()) {
            svg.open(options.svg, std::ios::binary);
            if (!svg) throw zepscene::ScriptError(options.svg, 0, std::string("cannot write the picture: ") +
                                                                      std::strerror(errno));
        }
        options.run.record = svg.is_open();
        zepscene::Runner runner(std::cout, std::cerr, options.run);
        runner.run(script);
        if (svg.is_open()) {
            svg << zepscene::sceneSvg(runner.recording());
            svg.close();
            if (!svg) {
                std::cerr << "zepscene: cannot write " << options.svg << '\n';
                return 1;
            }
        }
        return runner.failedExpectations() == 0 ? 0 : 1;
    } catch (const zepscene::ScriptError& error) {
        std::cout.flush();
        std::cerr << error.what() << '\n';
        return 1;
    }
}
