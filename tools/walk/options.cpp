#include "options.h"

#include <cstdio>
#include <stdexcept>

namespace walk {

namespace {

const char* kUsage =
    "usage: zepwalk [options] MAP.obj[=RXxRYxRZ]...\n"
    "  --frames N        frames per run (2000)\n"
    "  --seeds N         seeds 1 to N (10)\n"
    "  --seed S          this seed only\n"
    "  --walkers N       walkers per run (200)\n"
    "  --pieces N        split the solid level into N mesh objects (1)\n"
    "  --open            also spawn where nothing is above (unsealed levels)\n"
    "  --characters      walkers are characters (slope limit 45, a player's step and snap)\n"
    "  --trace S:W:F     seed S only, and print every leg of walker W's pass in frame F\n"
    "                    (in churn mode every run goes on; the run of seed S prints it)\n"
    "  --cases N         list at most N cases of each kind (12)\n"
    "  --churn           churn mode (first map only): free and create walkers and level pieces\n"
    "  --passes N        churn mode: RunCollisionZEP calls in all (100000)\n"
    "  --rss-bound MB    churn mode: allowed growth of the resident set after warm-up (16)\n";

long number(const std::string& word) {
    size_t used = 0;
    long value = 0;
    try {
        value = std::stol(word, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != word.size() || value < 0) throw std::runtime_error("bad number '" + word + "'\n" + kUsage);
    return value;
}

}  // namespace

Options parseOptions(int argc, char** argv) {
    Options o;
    long seedCount = 10;
    auto next = [&](int& i) -> std::string {
        if (i + 1 >= argc) throw std::runtime_error(std::string(argv[i]) + " needs a value\n" + kUsage);
        return argv[++i];
    };
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--frames") o.walk.frames = int(number(next(i)));
        else if (word == "--seeds") seedCount = number(next(i));
        else if (word == "--seed") o.seeds = {(unsigned long)number(next(i))};
        else if (word == "--walkers") o.walk.walkers = int(number(next(i)));
        else if (word == "--pieces") o.walk.levelPieces = int(number(next(i)));
        else if (word == "--open") o.walk.needRoof = false;
        else if (word == "--characters") o.walk.characters = true;
        else if (word == "--cases") o.casesShown = size_t(number(next(i)));
        else if (word == "--churn") o.churn = true;
        else if (word == "--passes") o.churnSettings.runs = number(next(i));
        else if (word == "--rss-bound") o.churnSettings.growthBoundMb = double(number(next(i)));
        else if (word == "--trace") {
            unsigned long& seed = o.walk.traceSeed;
            if (std::sscanf(next(i).c_str(), "%lu:%d:%d", &seed, &o.walk.traceWalker, &o.walk.traceFrame) != 3)
                throw std::runtime_error(std::string("--trace wants SEED:WALKER:FRAME\n") + kUsage);
            o.seeds = {seed};
        } else if (word.starts_with("--")) throw std::runtime_error("unknown option " + word + "\n" + kUsage);
        else o.maps.push_back(parseMapChoice(word));
    }
    if (o.maps.empty()) throw std::runtime_error(std::string("no map given\n") + kUsage);
    if (o.seeds.empty())
        for (long s = 1; s <= seedCount; ++s) o.seeds.push_back((unsigned long)s);
    if (o.walk.traceFrame >= 0 && !o.churn) o.walk.frames = std::min(o.walk.frames, o.walk.traceFrame + 1);
    return o;
}

}  // namespace walk
