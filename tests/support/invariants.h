// Consistency checks of the whole world, for tests and the fuzzer.
//
// Every record links itself into tables and lists and the collision pass,
// the stack walk and the contact queries all trust those links. A fault that
// leaves one half-linked, dangling or miscounted shows here long before it
// crashes a host.
#pragma once

#include <string>
#include <vector>

namespace zepcheck {

// Each broken rule, in words; empty when the world is consistent.
std::vector<std::string> worldViolations();

// Rules that hold only right after RunCollisionZEP, before anything else
// changes the world: every active body with contacts stands at its last
// contact's slide destination, every body is marked processed exactly when
// active, and only active bodies hold contacts.
std::vector<std::string> passViolations();

// Everything worldViolations and passViolations found, one per line.
std::string describe(const std::vector<std::string>& violations);

}  // namespace zepcheck
