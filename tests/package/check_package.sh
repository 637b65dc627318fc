#!/usr/bin/env bash
# check_package.sh BUILD_DIR CONSUMER_SOURCE SCRATCH C_COMPILER CMAKE
# Installs BUILD_DIR into SCRATCH/prefix, then builds and runs the consumer
# with find_package (shared and static targets, from a C and C++ project and
# from a C-only one), with pkg-config (shared and static), and runs the
# installed zepscene.
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

echo "== find_package(zepcollide) in a C-only project"
"$cmake" -S "$(dirname "$consumer")/consumer_c" -B "$scratch/c-consumer-build" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_COMPILER="$cc" >"$scratch/c-configure.log"
"$cmake" --build "$scratch/c-consumer-build" >"$scratch/c-build.log"
"$scratch/c-consumer-build/c_consumer_shared"
"$scratch/c-consumer-build/c_consumer_static"

echo "== pkg-config zepcollide"
export PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name zepcollide.pc)")
pkg-config --exists zepcollide
libdir=$(pkg-config --variable=libdir zepcollide)
# shellcheck disable=SC2046 # the flags are meant to split
"$cc" "$consumer/main.c" -o "$scratch/consumer_pkgconfig" $(pkg-config --cflags --libs zepcollide) \
    -Wl,-rpath,"$libdir"
"$scratch/consumer_pkgconfig"
# shellcheck disable=SC2046
"$cc" "$consumer/main.c" -o "$scratch/consumer_pkgconfig_static" $(pkg-config --cflags zepcollide) \
    "$libdir/libzepcollide.a" $(pkg-config --libs-only-l --static zepcollide | sed 's/-lzepcollide//')
"$scratch/consumer_pkgconfig_static"

echo "== installed zepscene"
"$prefix/bin/zepscene" --help | grep -q "usage: zepscene"

echo "package consumer: all ways work"
