// Everything a host can observe while an input runs, as 32-bit words: every
// query's answer, every message, and after every pass each body's position
// and every field of every contact. The same input run on the indexed path
// and on the plain path must leave the same words, bit for bit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "api/state.h"
#include "pass/pass_work.h"
#include "world/world.h"
#include "support/records.h"
#include "world/object.h"

namespace zepfuzz {

class Trace {
public:
    void clear() {
        words_.clear();
        commands_.clear();
        recording_ = true;
    }

    // Each command begins with a mark, so a difference can name its command.
    void beginCommand(int op) {
        if (!recording_) return;
        words_.push_back(kCommandMark | uint32_t(commands_.size()));
        commands_.push_back(op);
    }

    // From here on the two paths may rightly differ (allocations fail at a
    // count, and the indexed path allocates more): nothing more is compared.
    void stopRecording() {
        if (recording_) words_.push_back(kStoppedMark);
        recording_ = false;
    }

    void word(uint32_t value) {
        if (recording_) words_.push_back(value);
    }
    // A NaN is recorded as one NaN: IEEE 754 leaves the sign and payload of
    // an arithmetic NaN open, and two compilations of the same code (the
    // plain run may go to a copy built without sanitizers) can differ there.
    void floatBits(float value) { word(zeptest::floatWord(value, kNaNs)); }
    void floatWord(int32_t bits) { floatBits(zeptest::floatOf(uint32_t(bits))); }

    void message(const char* text, const char* caption) {
        if (!recording_) return;
        word(kMessageMark);
        for (const char* s : {text, caption})
            for (const char* c = s ? s : ""; *c; ++c) word(uint8_t(*c));
    }

    // The results of a pass: what every body's position and contact queries
    // can read, plus the fields no query exposes directly.
    void pass() {
        if (!recording_) return;
        for (const zep::CollisionBody* body = zep::world().bodyListHead; body; body = body->next) {
            word(uint32_t(body->objectNumber));
            zeptest::appendVec(words_, body->currentPosition, kNaNs);
            word(uint32_t(zep::countContacts(body)));
            for (const zep::Contact* c = body->contactsHead; c; c = c->next) zeptest::appendContact(words_, *c, kNaNs);
        }
    }

    // The first word where two traces part, described with its command;
    // empty when they agree.
    static std::string firstDifference(const Trace& a, const Trace& b, const char* (*opName)(int)) {
        const size_t common = std::min(a.words_.size(), b.words_.size());
        size_t at = 0;
        while (at < common && a.words_[at] == b.words_[at]) ++at;
        if (at == common && a.words_.size() == b.words_.size()) return "";
        int64_t command = -1;
        for (size_t i = at; i-- > 0;)
            if ((a.words_[i] & kMarkMask) == kCommandMark && a.words_[i] != kStoppedMark) {
                command = int64_t(a.words_[i] & ~kMarkMask);
                break;
            }
        char text[200];
        const auto shown = [](const std::vector<uint32_t>& w, size_t i) { return i < w.size() ? w[i] : 0u; };
        std::snprintf(text, sizeof text, "command %lld (%s), word %zu of %zu/%zu: 0x%08x vs 0x%08x",
                      (long long)command,
                      command >= 0 && size_t(command) < a.commands_.size() ? opName(a.commands_[command]) : "-",
                      at, a.words_.size(), b.words_.size(), shown(a.words_, at), shown(b.words_, at));
        return text;
    }

private:
    static constexpr uint32_t kMarkMask = 0xFF000000u;
    static constexpr uint32_t kCommandMark = 0x7E000000u;
    static constexpr uint32_t kStoppedMark = 0x7EFFFFFFu;
    static constexpr uint32_t kMessageMark = 0x7D000000u;
    static constexpr zeptest::NaNs kNaNs = zeptest::NaNs::kAsOne;

    std::vector<uint32_t> words_;
    std::vector<int> commands_;
    bool recording_ = true;
};

}  // namespace zepfuzz
