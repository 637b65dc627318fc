#!/usr/bin/env bash
# The fuzzing part of `make fuzz`: PROCESSES copies of the command fuzzer at
# once for SECONDS, all from the seeds in fuzz/corpus, the regression inputs
# and what earlier runs kept in BUILD/corpus (which they share), each writing
# its own log BUILD/fuzz-N.log. Prints one line with the totals, or the end
# of the first failing log; exits non-zero if any copy failed.
#   tools/run-fuzz.sh BUILD SECONDS PROCESSES MAX_LEN DIFFERENTIAL [FUZZER OPTIONS...]
set -uo pipefail
build=$1 seconds=$2 processes=$3 max_len=$4 differential=$5
shift 5
mkdir -p "$build/corpus" "$build/disagreements"
rm -f "$build"/fuzz-*.log

pids=()
for ((i = 1; i <= processes; i++)); do
  ZEP_FUZZ_DIFFERENTIAL=$differential ZEP_FUZZ_DISAGREEMENTS=$build/disagreements \
    "$build/command_fuzzer" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -max_len="$max_len" \
    -entropic_scale_per_exec_time=1 -print_final_stats=1 -seed="$i" -artifact_prefix="$build/" "$@" \
    "$build/corpus" fuzz/corpus fuzz/regressions >"$build/fuzz-$i.log" 2>&1 &
  pids+=($!)
done
failed=0
for ((i = 1; i <= processes; i++)); do
  if ! wait "${pids[i - 1]}" && [[ $failed -eq 0 ]]; then failed=$i; fi
done
if [[ $failed -ne 0 ]]; then
  tail -n 60 "$build/fuzz-$failed.log"
  echo "fuzz: FAILED; log in $build/fuzz-$failed.log"
  exit 1
fi

# The harness's own count ("zep fuzz: N inputs, M commands (K operations)")
# and libFuzzer's final stats, summed over the copies (peak memory: the
# largest copy's).
awk -v seconds="$seconds" -v processes="$processes" -v build="$build" '
  /^zep fuzz:/ { inputs += $3; commands += $5; gsub(/\(/, "", $7); operations += $7 }
  /^stat::new_units_added/ { kept += $NF }
  /^stat::peak_rss_mb/ { if ($NF > peak) peak = $NF }
  END {
    printf "fuzz: %d inputs, %d commands in %d s (%d operations; %d processes, %.0f commands/s), %d new kept, peak %d MB a process; logs in %s/fuzz-*.log\n",
      inputs, commands, seconds, operations, processes, commands / seconds, kept, peak, build
  }' "$build"/fuzz-*.log
