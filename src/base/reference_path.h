// The internal switch between the indexed paths and the plain reference path
// that visits every pair and every triangle. Never exported; tests and
// benchmarks compare the two. The rules, the pass and the sweep all read it.
#pragma once

namespace zep {

extern bool linearReference;

}  // namespace zep
