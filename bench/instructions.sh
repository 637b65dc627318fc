#!/usr/bin/env bash
# Instructions per pass of two builds of the library (`make
# bench-instructions`): runs zepcollide_instructions under callgrind, reads
# back the counts it dumped (one dump per scene and build, labelled "LABEL
# SIDE PASSES") and prints, per scene, each build's instructions per pass and
# their ratio. Exits non-zero when the builds' results differ.
#
#   bench/instructions.sh DRIVER BASELINE.so CURRENT.so OUT_DIR [DRIVER OPTIONS]
#
# OUT_DIR keeps the callgrind files (callgrind_annotate reads them) and
# valgrind's log.
set -euo pipefail

driver=${1:?usage: bench/instructions.sh DRIVER BASELINE.so CURRENT.so OUT_DIR [OPTIONS]}
baseline=${2:?} current=${3:?} out=${4:?}
shift 4

rm -rf "$out"
mkdir -p "$out"
status=0
valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/callgrind.out" \
  "$driver" "$@" "$baseline" "$current" 2>"$out/valgrind.log" || status=$?
if [[ $status -ne 0 && $status -ne 1 ]]; then
  tail -n 20 "$out/valgrind.log" >&2
  echo "bench/instructions.sh: the driver failed (log in $out/valgrind.log)" >&2
  exit "$status"
fi

echo
echo "instructions per pass (callgrind; only the RunCollisionZEP calls of the counted passes)"
# Each dump names its scene, build and passes in its trigger line and its
# count in the summary line.
awk '
  /^desc: Trigger: Client Request: / { split(substr($0, 32), label, " ") }
  /^summary: / {
    scene = label[1]; side = label[2]; passes = label[3]
    if (!(scene in seen)) { seen[scene] = 1; order[++scenes] = scene }
    perPass[scene, side] = $2 / passes
  }
  END {
    printf "  %-12s %14s %14s %17s\n", "scene", "baseline", "current", "current/baseline"
    for (i = 1; i <= scenes; ++i) {
      s = order[i]; b = perPass[s, "baseline"]; c = perPass[s, "current"]
      printf "  %-12s %14.0f %14.0f %17.4f\n", s, b, c, (b > 0 ? c / b : 0)
    }
  }' "$out"/callgrind.out.*
exit "$status"
