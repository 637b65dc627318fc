#!/usr/bin/env bash
# Installs the Debian packages a task needs, when they are missing. Run as
# root on a fresh machine; as another user it only says what to install for
# that task.
#
#   tools/install-deps.sh build   the library, zepscene, `make demo`, `make install`
#                                 and the README's pkg-config lines
#   tools/install-deps.sh         everything `make test` runs (the default);
#                                 ZEP_WINDOWS=0 and ZEP_BROWSER=0 leave out
#                                 Wine and Chromium
#   tools/install-deps.sh --list PROFILE   prints the packages, installs nothing
#
# When another apt or dpkg run holds the package manager's lock, it waits up
# to ZEP_APT_WAIT seconds (default 600) for it, then stops with a clear error.
set -euo pipefail

list_only=0
if [[ ${1:-} == --list ]]; then
  list_only=1
  shift
fi
profile=${1:-test}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/apt-wait.sh
. "$here/apt-wait.sh"

# The library and the scene runner: a C++20 compiler, CMake and make; zlib
# for the recorded frames in zepscene's HTML page; pkg-config (pkgconf) for
# the README's lines that build a program against the installed package.
packages=(cmake make g++ zlib1g-dev pkgconf)
packages_i386=()
task="./setup demo (or make demo)"
if [[ "$profile" != build ]]; then
  task="./setup test (or make test)"
  # The test suite: GoogleTest and GoogleMock; Google Benchmark for `make
  # bench`; binutils (nm) for the export-list check; Python 3 for the level
  # converter's test.
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev binutils python3)
  # The command fuzzer: clang with libFuzzer and the sanitizer runtimes. The
  # unversioned libclang-rt-dev follows the distribution's default clang.
  packages+=(clang libclang-rt-dev)
  if [[ "${ZEP_BROWSER:-1}" == 1 ]]; then
    # zepscene's HTML pages in a real browser: headless Chromium, driven by a
    # node script over the DevTools protocol.
    packages+=(chromium nodejs)
  fi
  if [[ "${ZEP_WINDOWS:-1}" == 1 ]]; then
    # The 32-bit Windows DLL (MinGW) and Wine to run its host stand-in; wine32
    # needs the i386 architecture enabled.
    packages+=(g++-mingw-w64-i686 wine)
    packages_i386+=(wine32:i386)
  fi
fi

if [[ $list_only == 1 ]]; then
  echo "${packages[@]}" "${packages_i386[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}" "${packages_i386[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  # Only what this task needs, so a user who wants the demo is not sent to
  # install the whole test set.
  {
    echo "$task needs these Debian packages, which are missing: ${missing[*]}"
    if [[ " ${missing[*]} " == *":i386 "* ]]; then
      echo "as root: dpkg --add-architecture i386 && apt-get update && apt-get install --no-install-recommends ${missing[*]}"
    else
      echo "as root: apt-get update && apt-get install --no-install-recommends ${missing[*]}"
    fi
    if [[ $profile != build ]]; then
      echo "(ZEP_WINDOWS=0 leaves out Wine and MinGW, ZEP_BROWSER=0 Chromium and node)"
    fi
  } >&2
  exit 1
fi
if [[ ${#packages_i386[@]} -gt 0 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt_wait update -q
apt_wait install -y -q --no-install-recommends "${missing[@]}"
