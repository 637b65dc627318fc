#include "script.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "obj_file.h"
#include "script_error.h"
#include "vec.h"
#include "words.h"

namespace zepscene {

namespace {

using Words = std::vector<std::string>;

std::string joined(const Words& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

std::string lowered(std::string_view text) {
    std::string out;
    for (char c : text) out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

class LineReader {
public:
    LineReader(const std::string& file, int line, const Words& words) : file_(file), line_(line), words_(words) {}

    [[noreturn]] void fail(const std::string& message) const { throw ScriptError(file_, line_, message); }

    int32_t integer(size_t at, const char* what) const {
        const auto value = parseInt(words_[at]);
        if (!value) fail("bad number '" + words_[at] + "' for " + what + ": expected a 32-bit whole number");
        return *value;
    }

    float real(size_t at, const char* what) const {
        const auto value = parseFloat(words_[at]);
        if (!value) fail("bad number '" + words_[at] + "' for " + what + ": expected a number");
        return *value;
    }

    int32_t word(size_t at, const ArgSpec& arg) const {
        if (arg.kind == ArgKind::Int) return integer(at, arg.name);
        return wordOf(real(at, arg.name));
    }

    const Words& words() const { return words_; }

private:
    const std::string& file_;
    int line_;
    const Words& words_;
};

std::string argumentList(const CommandInfo& command) {
    std::string names;
    for (const ArgSpec& arg : command.args) {
        if (!names.empty()) names += ' ';
        names += arg.name;
    }
    return names.empty() ? "no arguments" : std::to_string(command.args.size()) + " argument" +
                                                (command.args.size() == 1 ? "" : "s") + " (" + names + ")";
}

void checkCount(const LineReader& reader, const CommandInfo& command) {
    const size_t given = reader.words().size() - 1, wanted = command.args.size();
    if (given == wanted || (command.trailingIgnored && given == wanted + 3)) return;
    std::string message = std::string(command.name) + " takes " + argumentList(command);
    if (command.trailingIgnored) message += ", or " + std::to_string(wanted + 3) + " with the three ignored words";
    reader.fail(message + "; got " + std::to_string(given));
}

[[noreturn]] void unknownCommand(const LineReader& reader, const std::string& name) {
    std::string message = "unknown command '" + name + "'";
    for (const CommandInfo& command : allCommands())
        if (lowered(command.name) == lowered(name)) message += " (did you mean " + std::string(command.name) + "?)";
    reader.fail(message);
}

void readCommand(const LineReader& reader, Step& step) {
    const Words& words = reader.words();
    step.command = findCommand(words[0]);
    if (!step.command) unknownCommand(reader, words[0]);
    if (!step.command->call)
        reader.fail(words[0] + " takes the address of a host mesh block; in a script write 'mesh OBJECT FILE.obj'");
    checkCount(reader, *step.command);
    const size_t named = step.command->args.size();
    for (size_t i = 0; i < named; ++i) step.words[i] = reader.word(i + 1, step.command->args[i]);
    for (size_t i = named; i + 1 < words.size(); ++i) step.words[i] = reader.integer(i + 1, "an ignored word");
}

// expect COMMAND ARGS... then VALUE [TOLERANCE], < VALUE or > VALUE.
void readExpect(const Words& words, const std::string& file, int line, Step& step) {
    const LineReader reader(file, line, words);
    if (words.size() < 3) reader.fail("expect takes a command with its arguments, then the value it should give");
    const Words call(words.begin() + 1, words.end());
    step.command = findCommand(call[0]);
    if (!step.command) unknownCommand(LineReader(file, line, call), call[0]);
    if (step.command->result == ResultKind::None) reader.fail("expect: " + call[0] + " has no result to check");
    const size_t argCount = step.command->args.size();
    if (call.size() < argCount + 2 || call.size() > argCount + 3)
        reader.fail("expect " + call[0] + " takes " + argumentList(*step.command) +
                    ", then VALUE [TOLERANCE], < VALUE or > VALUE; got " + std::to_string(call.size() - 1) +
                    " words");
    const Words commandWords(call.begin(), call.begin() + long(argCount) + 1);
    const LineReader callReader(file, line, commandWords);
    for (size_t i = 0; i < argCount; ++i) step.words[i] = callReader.word(i + 1, step.command->args[i]);
    const Words check(call.begin() + long(argCount) + 1, call.end());
    const LineReader checkReader(file, line, check);
    size_t valueAt = 0;
    if (check[0] == "<" || check[0] == ">") {
        if (check.size() != 2) reader.fail("expect: '" + check[0] + "' takes one value and no tolerance");
        step.comparison = check[0] == "<" ? Comparison::Below : Comparison::Above;
        valueAt = 1;
    } else if (check.size() == 2) {
        step.tolerance = checkReader.real(1, "the tolerance");
        if (!(step.tolerance >= 0)) reader.fail("expect: the tolerance must be 0 or more; got " + check[1]);
    }
    step.expected = checkReader.real(valueAt, "the expected value");
    step.kind = StepKind::Expect;
    step.callText = joined(commandWords);
}

void readMesh(const LineReader& reader, Step& step, const std::filesystem::path& folder) {
    if (reader.words().size() != 3) reader.fail("mesh takes 2 arguments (object file); got " +
                                                std::to_string(reader.words().size() - 1));
    step.kind = StepKind::Mesh;
    step.object = reader.integer(1, "object");
    step.meshFile = reader.words()[2];
    const std::filesystem::path path = folder / step.meshFile;
    if (!std::ifstream(path)) reader.fail("cannot open mesh file '" + step.meshFile + "'");
    step.triangles = loadObj(path.string());
}

void readFrames(const LineReader& reader, Step& step) {
    if (reader.words().size() != 6)
        reader.fail("frames takes 5 arguments (count dx dy dz object); got " + std::to_string(reader.words().size() - 1));
    step.kind = StepKind::Frames;
    step.frameCount = reader.integer(1, "count");
    if (step.frameCount < 1) reader.fail("frames needs a count of at least 1; got " + reader.words()[1]);
    step.frameStep = {reader.real(2, "dx"), reader.real(3, "dy"), reader.real(4, "dz")};
    step.object = reader.integer(5, "object");
}

void readWalk(const LineReader& reader, Step& step) {
    if (reader.words().size() != 7)
        reader.fail("walk takes 6 arguments (count dx dy dz fall object); got " +
                    std::to_string(reader.words().size() - 1));
    step.kind = StepKind::Walk;
    step.frameCount = reader.integer(1, "count");
    if (step.frameCount < 1) reader.fail("walk needs a count of at least 1; got " + reader.words()[1]);
    step.frameStep = {reader.real(2, "dx"), reader.real(3, "dy"), reader.real(4, "dz")};
    step.fall = reader.real(5, "fall");
    step.object = reader.integer(6, "object");
}

Step readStep(const LineReader& reader, const std::filesystem::path& folder, const std::string& file, int line) {
    Step step;
    const Words& words = reader.words();
    if (words[0] == "mesh") readMesh(reader, step, folder);
    else if (words[0] == "expect") readExpect(words, file, line, step);
    else if (words[0] == "frames") readFrames(reader, step);
    else if (words[0] == "walk") readWalk(reader, step);
    else if (words[0] == "debug") {
        if (words.size() != 1) reader.fail("debug takes no arguments");
        step.kind = StepKind::Debug;
    } else readCommand(reader, step);
    step.text = joined(words);
    return step;
}

}  // namespace

Script parseScript(const std::string& text, const std::string& file) {
    Script script{file, {}};
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    std::istringstream in(text);
    int line = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++line;
        const Words words = splitWords(raw);
        if (words.empty()) continue;
        Step step = readStep(LineReader(file, line, words), folder, file, line);
        step.line = line;
        script.steps.push_back(std::move(step));
    }
    return script;
}

Script readScript(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw ScriptError(path, 0, "cannot read the script: " + std::string(std::strerror(EISDIR)));
    errno = 0;
    std::ifstream in(path);
    if (!in) throw ScriptError(path, 0, "cannot open the script: " + std::string(std::strerror(errno ? errno : ENOENT)));
    std::stringstream text;
    text << in.rdbuf();
    return parseScript(text.str(), path);
}

}  // namespace zepscene
