#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are
# missing. Run as root on a fresh machine; as another user it only reports.
set -euo pipefail

packages=(cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev binutils)
# The command fuzzer: clang with libFuzzer and the sanitizer runtimes.
packages+=(clang libclang-rt-14-dev)
packages_i386=()
if [[ "${ZEP_WINDOWS:-1}" == 1 ]]; then
  packages+=(g++-mingw-w64-i686 wine)
  packages_i386+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}" "${packages_i386[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "missing packages: ${missing[*]} (run 'make deps' as root, or install them)" >&2
  exit 1
fi
if [[ ${#packages_i386[@]} -gt 0 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
