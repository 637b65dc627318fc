#!/usr/bin/env bash
# Runs the seeded long scenario, the characters' run and the crowd (its pass
# on worker threads) through the Linux
# library (its test binary) and through zepcollide.dll (the host stand-in
# under Wine) and compares the digests: both builds must compute the same
# bits.
#   compare_digests.sh <linux zepcollide_tests> <command running the stand-in...>
set -uo pipefail
linux_tests=$1
shift

if [[ ! -x $linux_tests ]]; then
  echo "ERROR: no Linux test binary at $linux_tests: build the Linux tree first (make build)" >&2
  exit 1
fi
linux_out=$("$linux_tests" --gtest_filter='SharedScenarioDigest.Pinned*Run' 2>&1)
windows_out=$("$@" 2>&1)
windows_rc=$?
failed=0
for what in scenario character crowd; do
  pattern="zepcollide $what digest: [0-9a-f]{16}"
  linux_digest=$(grep -oE "$pattern" <<<"$linux_out" | head -n1)
  windows_digest=$(grep -oE "$pattern" <<<"$windows_out" | head -n1)
  echo "linux:   ${linux_digest:-no $what digest}"
  echo "windows: ${windows_digest:-no $what digest}"
  if [[ -z $linux_digest || -z $windows_digest || $linux_digest != "$windows_digest" ]]; then failed=1; fi
done
if [[ $windows_rc -ne 0 || $failed -ne 0 ]]; then
  echo "ERROR: a digest is missing, the builds disagree, or the stand-in failed (exit $windows_rc)" >&2
  echo "$linux_out" | tail -n 20 >&2
  echo "$windows_out" | tail -n 20 >&2
  exit 1
fi
echo "digests match"
