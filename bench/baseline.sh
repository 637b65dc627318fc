#!/usr/bin/env bash
# Builds the shared library of an earlier commit for `make bench-compare` and
# `make bench-instructions`, and prints the library's path.
#
#   bench/baseline.sh REF DIR
#
# The commit's tree (git archive, so the working tree is left alone) goes to
# DIR/<commit>/src and is built in Release, tests off, in DIR/<commit>/build;
# the compiler's output is kept in DIR/<commit>/build.log. A commit already
# built is not built again, so a second run starts at once.
set -euo pipefail

ref=${1:?usage: bench/baseline.sh REF DIR}
dir=${2:?usage: bench/baseline.sh REF DIR}

commit=$(git rev-parse --verify --quiet "$ref^{commit}") || {
  echo "bench/baseline.sh: '$ref' is not a commit of this repository" >&2
  exit 1
}
home="$dir/$commit"
library="$home/build/libzepcollide.so"
if [[ -f "$library" ]]; then
  echo "$library"
  exit 0
fi

echo "building the baseline $ref ($commit) in $home (log in $home/build.log)" >&2
mkdir -p "$home"
if [[ ! -d "$home/src" ]]; then
  # Unpacked beside its final place and moved there whole, so that an
  # interrupted run never leaves half a tree to build from.
  rm -rf "$home/src.partial"
  mkdir -p "$home/src.partial"
  git archive "$commit" | tar -x -C "$home/src.partial"
  mv "$home/src.partial" "$home/src"
fi
if ! { cmake -S "$home/src" -B "$home/build" -DCMAKE_BUILD_TYPE=Release \
         -DZEP_BUILD_TESTS=OFF -DZEP_BUILD_BENCH=OFF &&
       cmake --build "$home/build" -j "$(nproc)" --target zepcollide; } >"$home/build.log" 2>&1; then
  tail -n 30 "$home/build.log" >&2
  echo "bench/baseline.sh: the baseline $ref did not build" >&2
  exit 1
fi
echo "$library"
