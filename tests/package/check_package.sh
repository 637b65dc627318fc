#!/usr/bin/env bash
# check_package.sh BUILD_DIR CONSUMER_SOURCE SCRATCH C_COMPILER CMAKE
# Installs BUILD_DIR into SCRATCH/prefix, then builds and runs the consumer
# with find_package (shared and static targets) and with pkg-config.
set -euo pipefail
build=$1 consumer=$2 scratch=$3 cc=$4 cmake=$5
prefix=$scratch/prefix

rm -rf "$scratch"
mkdir -p "$scratch"
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log"
test -f "$prefix/include/zepcollide.h" || { echo "header not installed"; exit 1; }

echo "== find_package(zepcollide)"
"$cmake" -S "$consumer" -B "$scratch/consumer-build" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_COMPILER="$cc" >"$scratch/configure.log"
"$cmake" --build "$scratch/consumer-build" >"$scratch/build.log"
"$scratch/consumer-build/consumer_shared"
"$scratch/consumer-build/consumer_static"

echo "== pkg-config zepcollide"
export PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name zepcollide.pc)")
pkg-config --exists zepcollide
libdir=$(pkg-config --variable=libdir zepcollide)
# shellcheck disable=SC2046 # the flags are meant to split
"$cc" "$consumer/main.c" -o "$scratch/consumer_pkgconfig" $(pkg-config --cflags --libs zepcollide) \
    -Wl,-rpath,"$libdir"
"$scratch/consumer_pkgconfig"

echo "package consumer: all ways work"
