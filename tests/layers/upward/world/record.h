// A checker fixture, never compiled: one include down (allowed), one up (not).
#include "base/vec.h"
#include "pass/pass.h"
