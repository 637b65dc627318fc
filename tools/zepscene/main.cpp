// zepscene: runs a scene script against zepcollide the way a host program
// would, prints what the host would read back, and can draw the run.
//
//   zepscene [--debug] [--no-warnings] [--svg FILE] [--html FILE] SCRIPT
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "html_page.h"
#include "runner.h"
#include "script.h"
#include "script_error.h"
#include "svg_scene.h"

namespace {

struct Options {
    std::string script, svg, html;
    zepscene::RunOptions run;
    bool help = false;
};

const char* const kUsage =
    "usage: zepscene [--debug] [--no-warnings] [--svg FILE] [--html FILE] SCRIPT\n"
    "  --debug        show the error box text of every failing command\n"
    "  --no-warnings  do not print the calls the library ignored without a box\n"
    "  --svg FILE     draw the run (top and side view) into FILE\n"
    "  --html FILE    write the run as a page to explore in 3D, frame by frame\n"
    "  --help         show this text\n";

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") options.help = true;
        else if (arg == "--debug") options.run.debug = true;
        else if (arg == "--no-warnings") options.run.warnings = false;
        else if (arg == "--svg" && i + 1 < argc) options.svg = argv[++i];
        else if (arg == "--html" && i + 1 < argc) options.html = argv[++i];
        else if (arg.empty() || arg[0] == '-' || !options.script.empty()) return false;
        else options.script = arg;
    }
    return options.help || !options.script.empty();
}

std::ofstream openOutput(const std::string& path, const char* what) {
    std::ofstream file;
    if (path.empty()) return file;
    file.open(path, std::ios::binary);
    if (!file) throw zepscene::ScriptError(path, 0, std::string("cannot write ") + what + ": " + std::strerror(errno));
    return file;
}

bool written(std::ofstream& file, const std::string& path, const std::string& text) {
    file << text;
    file.close();
    if (file) return true;
    std::cerr << "zepscene: cannot write " << path << '\n';
    return false;
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
        std::ofstream svg = openOutput(options.svg, "the picture");
        std::ofstream html = openOutput(options.html, "the page");
        options.run.record = svg.is_open() || html.is_open();
        zepscene::Runner runner(std::cout, std::cerr, options.run);
        runner.run(script);
        if (svg.is_open() && !written(svg, options.svg, zepscene::sceneSvg(runner.recording()))) return 1;
        if (html.is_open() && !written(html, options.html, zepscene::sceneHtml(runner.recording()))) return 1;
        return runner.failedExpectations() == 0 ? 0 : 1;
    } catch (const zepscene::ScriptError& error) {
        std::cout.flush();
        std::cerr << error.what() << '\n';
        return 1;
    }
}
