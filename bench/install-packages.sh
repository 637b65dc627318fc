#!/usr/bin/env bash
# Installs the Debian packages a benchmark target needs, when they are
# missing (`make bench-instructions`: valgrind). Run as root; as another user
# it only says what to install.
#
#   bench/install-packages.sh PACKAGE...
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/apt-wait.sh
. "$here/../tools/apt-wait.sh"

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "missing packages: ${missing[*]}" >&2
  echo "as root: apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt_wait update -q
apt_wait install -y -q --no-install-recommends "${missing[@]}"
