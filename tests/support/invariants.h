// Consistency checks of the whole world, for tests and the fuzzer.
//
// Every record links itself into tables and lists and the collision pass,
// the stack walk and the contact queries all trust those links. A fault that
// leaves one half-linked, dangling or miscounted shows here long before it
// crashes a host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeptest {

// Each broken rule, in words; empty when the world is consistent.
std::vector<std::string> worldViolations();

// The same rules at a cost in proportion to the live records, for a checker
// that runs after every command: every list and every live record is
// checked, but of the tables' free slots only those of the object numbers in
// `touched` (the ones the command named), of the triangle lists only those of
// the touched objects' meshes, and of the rule chains only those that hold
// rules. A full worldViolations now and then sees the rest.
std::vector<std::string> liveViolations(const std::vector<int32_t>& touched);

// Rules that hold only right after RunCollisionZEP, before anything else
// changes the world: every active body with contacts stands at its last
// contact's slide destination (where it started, if memory ran out under its
// move), every body is marked processed exactly when active, and only active
// bodies hold contacts.
std::vector<std::string> passViolations();

// Everything worldViolations and passViolations found, one per line.
std::string describe(const std::vector<std::string>& violations);

// A complete, comparable description of the world as the host could ever
// observe it, and more: every list in order, every stored number bit for
// bit. Two snapshots are equal exactly when a command changed nothing.
std::string worldSnapshot();

}  // namespace zeptest
