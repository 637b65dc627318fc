#!/usr/bin/env bash
# The body of `make test`: runs every part even when an earlier one fails,
# and ends with one line for the whole run, "N passed, M failed". Each test
# of the Linux suite counts as one part; the Windows tests, the sanitized
# suite, the ThreadSanitizer run and the fuzzing run count as one part each. Exits non-zero if
# anything failed.
#   tools/run-tests.sh BUILD_DIR JOBS WINDOWS(0|1)
set -uo pipefail
build=$1 jobs=$2 windows=$3
make_part() { ${MAKE:-make} --no-print-directory "$@"; }

passed=0 failed=0
failed_parts=()
count() {  # count NAME STATUS
  if [[ $2 -eq 0 ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failed_parts+=("$1")
  fi
}

# The packages first, and once: as another user without them, the one
# message (which packages, the line that installs them) is all there is, and
# no part is counted as failed for a run that never started.
make_part deps || exit 1

if make_part build; then
  log=$build/ctest-summary.log
  ctest --test-dir "$build" --output-on-failure -j "$jobs" | tee "$log"
  status=${PIPESTATUS[0]}
  summary=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [[ $summary =~ ^([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+)$ ]]; then
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    failed=$((failed + BASH_REMATCH[1]))
    [[ ${BASH_REMATCH[1]} -eq 0 ]] || failed_parts+=("Linux suite")
  fi
  # ctest itself failing without a count (no tests found) is a failure too.
  [[ -n $summary || $status -eq 0 ]] || count "Linux suite" 1
else
  count "build" 1
fi

if [[ $windows == 1 ]]; then
  make_part windows-test
  count "Windows DLL under Wine" $?
fi
make_part sanitize
count "sanitized suite" $?
make_part tsan
count "threads under ThreadSanitizer" $?
make_part fuzz
count "fuzzing" $?

[[ ${#failed_parts[@]} -eq 0 ]] || echo "failed: ${failed_parts[*]}"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
