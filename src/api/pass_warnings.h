// Warnings about the usual ways a mover falls through the floor with no
// error at all: its type has no rule, the floor's type has no active mesh,
// the floor was never activated, or the floor faces away from the mover.
// Each is said once per object and cause, through the warning handler only;
// nothing here changes what a pass does. With no handler set none of it runs.
#pragma once

namespace zep {

// Before RunCollisionZEP's pass: what the rules and activations leave unmet.
void warnBeforePass();
// After it: small meshes whose every triangle faces away from every mover
// that meets them.
void warnAfterPass();
// The system stopped: the next run may warn about the same objects again.
void forgetPassWarnings();

}  // namespace zep
