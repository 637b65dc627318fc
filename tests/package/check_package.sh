#!/usr/bin/env bash
# check_package.sh BUILD_DIR CONSUMER_SOURCE SCRATCH C_COMPILER CMAKE README
# Installs BUILD_DIR into SCRATCH/prefix, then builds and runs the consumer
# with find_package (shared and static targets, from a C and C++ project and
# from a C-only one), with pkg-config (shared and static), and runs the
# installed zepscene; then the README's own package lines, as written.
set -euo pipefail
build=$1 consumer=$2 scratch=$3 cc=$4 cmake=$5 readme=$6
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
"$cc" "$consumer/main.c" -o "$scratch/consumer_pkgconfig_static" $(pkg-config --cflags --libs zepcollide-static)
"$scratch/consumer_pkgconfig_static"

echo "== installed zepscene"
"$prefix/bin/zepscene" --help | grep -q "usage: zepscene"

# The README's blocks: the example as app.c, and the code block after each
# "<!-- package:NAME -->" marker. They name the install $HOME/zep.
block() {  # block MARKER: the lines of the fenced block after the marker
  awk -v mark="$1" '$0 == mark {found = 1; next}
    found && /^```/ {if (inside) exit; inside = 1; next}
    found && inside {print}' "$readme"
}
readme_dir=$scratch/readme
mkdir -p "$readme_dir/home" "$readme_dir/bin"
ln -s "$prefix" "$readme_dir/home/zep"
ln -s "$(command -v "$cc")" "$readme_dir/bin/cc"
awk '/<!-- example:begin -->/ {f = 1; next} /<!-- example:end -->/ {f = 0} f && !/^```/' "$readme" >"$readme_dir/app.c"
expected="ended at (-1, 1, -1) with 1 contact(s), normal y 1"

echo "== the README's first command installs what its package lines run"
demo_packages=" $("$(dirname "$readme")/tools/install-deps.sh" --list build) "
for p in pkgconf cmake g++ make; do
  [[ $demo_packages == *" $p "* ]] || { echo "./setup demo does not install $p, which the README's package lines need"; exit 1; }
done

echo "== the README's pkg-config lines"
block "<!-- package:pkg-config -->" >"$readme_dir/pkg-config.sh"
test -s "$readme_dir/pkg-config.sh" || { echo "README has no pkg-config block"; exit 1; }
(cd "$readme_dir" && HOME=$readme_dir/home PATH=$readme_dir/bin:$PATH sh -ex pkg-config.sh)
# Only the static one may run without the library beside it.
test "$("$readme_dir/app")" = "$expected"
mv "$prefix/lib/libzepcollide.so.0" "$prefix/lib/libzepcollide.so.0.moved"
test "$("$readme_dir/app_static")" = "$expected"
mv "$prefix/lib/libzepcollide.so.0.moved" "$prefix/lib/libzepcollide.so.0"

echo "== the README's CMake lines"
mkdir -p "$readme_dir/cmake"
cp "$readme_dir/app.c" "$readme_dir/cmake/"
{ echo 'cmake_minimum_required(VERSION 3.20)'; echo 'project(app C)'
  echo 'add_executable(app app.c)'; echo 'add_executable(app_static app.c)'
  block "<!-- package:cmake -->"; } >"$readme_dir/cmake/CMakeLists.txt"
grep -q find_package "$readme_dir/cmake/CMakeLists.txt" || { echo "README has no CMake block"; exit 1; }
"$cmake" -S "$readme_dir/cmake" -B "$readme_dir/cmake-build" -DCMAKE_PREFIX_PATH="$readme_dir/home/zep" \
    -DCMAKE_C_COMPILER="$cc" >"$scratch/readme-configure.log"
"$cmake" --build "$readme_dir/cmake-build" >"$scratch/readme-build.log"
test "$("$readme_dir/cmake-build/app")" = "$expected"
test "$("$readme_dir/cmake-build/app_static")" = "$expected"

echo "package consumer: all ways work"
