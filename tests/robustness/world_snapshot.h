// A complete, comparable description of the world as the host could ever
// observe it, and more: every list in order, every stored number bit for bit.
// Two snapshots are equal exactly when a command changed nothing.
#pragma once

#include <string>

namespace zeptest {

std::string worldSnapshot();

}  // namespace zeptest
