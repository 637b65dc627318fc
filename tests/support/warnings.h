// A stand-in for the host's warning handler that keeps every warning, for
// as long as it lives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zepcollide.h"

namespace zeptest {

struct Seen {
    std::string command;
    int32_t object;
    bool hasObject;
    std::string text;
};

class WarningRecorder {
public:
    std::vector<Seen> seen;

    WarningRecorder() { zepSetWarningHandler(&WarningRecorder::record, this); }
    ~WarningRecorder() { zepSetWarningHandler(nullptr, nullptr); }
    WarningRecorder(const WarningRecorder&) = delete;
    WarningRecorder& operator=(const WarningRecorder&) = delete;

    // How many warnings so far have a text that starts with `prefix`.
    int countStartingWith(const std::string& prefix) const {
        int count = 0;
        for (const Seen& w : seen) count += w.text.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }

private:
    static void record(const ZepWarning* w, void* context) {
        static_cast<WarningRecorder*>(context)->seen.push_back(
            Seen{w->command, w->object, w->hasObject != 0, w->text});
    }
};

}  // namespace zeptest
