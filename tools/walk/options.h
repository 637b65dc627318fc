// The walk driver's command line.
#pragma once

#include <string>
#include <vector>

#include "churn.h"
#include "level.h"

namespace walk {

struct Options {
    std::vector<MapChoice> maps;
    WalkSettings walk;
    std::vector<unsigned long> seeds;
    bool churn = false;
    ChurnSettings churnSettings;
    size_t casesShown = 12;
};

// Throws std::runtime_error with the usage for a bad command line.
Options parseOptions(int argc, char** argv);

}  // namespace walk
