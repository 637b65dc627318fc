// A checker fixture, never compiled: a base header with only system includes.
#include <cstdint>
