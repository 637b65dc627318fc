#include "obj_file.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "script_error.h"
#include "words.h"

namespace zepscene {

namespace {

struct ObjReader {
    std::string path;
    int line = 0;
    std::vector<V3> vertices;
    std::vector<Triangle> triangles;

    [[noreturn]] void fail(const std::string& message) const { throw ScriptError(path, line, message); }

    void readVertex(const std::vector<std::string>& words) {
        if (words.size() < 4) fail("a vertex needs x y z");
        float xyz[3];
        for (int i = 0; i < 3; ++i) {
            const auto value = parseFloat(words[i + 1]);
            if (!value) fail("bad vertex coordinate '" + words[i + 1] + "'");
            xyz[i] = *value;
        }
        vertices.push_back({xyz[0], xyz[1], xyz[2]});
    }

    // "7", "7/2", "7//3", "7/2/3", or negative (counted back from the last vertex).
    V3 corner(const std::string& word) const {
        const auto index = parseInt(word.substr(0, word.find('/')));
        const int64_t count = int64_t(vertices.size());
        if (!index || *index == 0) fail("bad face corner '" + word + "'");
        const int64_t place = *index > 0 ? *index - 1 : count + *index;
        if (place < 0 || place >= count)
            fail("face corner " + word + " names no vertex (" + std::to_string(count) + " so far)");
        return vertices[size_t(place)];
    }

    void readFace(const std::vector<std::string>& words) {
        if (words.size() < 4) fail("a face needs at least 3 corners");
        const V3 first = corner(words[1]);
        for (size_t i = 2; i + 1 < words.size(); ++i)
            triangles.push_back({first, corner(words[i]), corner(words[i + 1])});
    }
};

// Shows how far a large file has been read, on a terminal only, so that
// logs and test output stay clean.
class Progress {
public:
    explicit Progress(const std::string& path) : path_(path) {
        std::error_code ignored;
        size_ = std::filesystem::file_size(path, ignored);
        shown_ = isatty(STDERR_FILENO) && size_ >= kLargeFile;
    }
    ~Progress() {
        if (shown_) std::fprintf(stderr, "\r\033[K");
    }
    void update(std::ifstream& in) {
        if (!shown_) return;
        const int percent = int(100.0 * double(in.tellg()) / double(size_));
        if (percent < next_) return;
        std::fprintf(stderr, "\rloading %s: %d%%", path_.c_str(), percent);
        next_ = percent + 5;
    }

private:
    static constexpr uintmax_t kLargeFile = 8u << 20;
    std::string path_;
    uintmax_t size_ = 0;
    bool shown_ = false;
    int next_ = 0;
};

}  // namespace

std::vector<Triangle> loadObj(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw ScriptError(path, 0, "cannot open the file");
    ObjReader reader;
    reader.path = path;
    Progress progress(path);
    for (std::string text; std::getline(in, text);) {
        ++reader.line;
        if ((reader.line & 0xffff) == 0) progress.update(in);
        const std::vector<std::string> words = splitWords(text);
        if (words.empty()) continue;
        if (words[0] == "v") reader.readVertex(words);
        if (words[0] == "f") reader.readFace(words);
    }
    return reader.triangles;
}

}  // namespace zepscene
