// Warnings about the usual ways a mover falls through the floor with no
// error at all: its type has no rule, the floor's type has no active mesh,
// the floor or the mover was never activated, the mover went through a
// triangle from behind, it was placed once and so swept in from the origin,
// or its path lies outside the range where sweeps land reliably.
// Each is said once per object and cause, through the warning handler only;
// nothing here changes what a pass does. With no handler set none of it runs.
#pragma once

namespace zep {

// Before RunCollisionZEP's pass: what the rules and activations leave unmet.
void warnBeforePass();
// After it: a triangle a mover went through from behind, and a mover's path
// too far from a mesh it meets for its radii.
void warnAfterPass();
// The system stopped: the next run may warn about the same objects again.
void forgetPassWarnings();

}  // namespace zep
