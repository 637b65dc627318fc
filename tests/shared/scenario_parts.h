// What the scenario files share: float arguments as words, the box texts in
// one line for a readable comparison, and each topic's scenarios.
#pragma once

#include <string>
#include <vector>

#include "shared/scenarios.h"

namespace zeptest {

inline Word w(float value) { return bitsOf(value); }

// The box texts so far, each in brackets.
inline std::string joinedTexts(const Host& host) {
    std::string joined;
    for (const Box& box : host.boxes) joined += "[" + box.text + "]";
    return joined;
}

// The error box and the object check.
std::vector<Scenario> errorScenarios();
// Starting, stopping, positions, rules and the activation walk.
std::vector<Scenario> worldScenarios();
// Meshes by memory block and the collision pass end to end.
std::vector<Scenario> passScenarios();

}  // namespace zeptest
