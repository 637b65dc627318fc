#!/usr/bin/env bash
# Installs Bullet, which only `make bench-peers` needs, when it is missing.
# Run as root; as another user it only reports.
set -euo pipefail

packages=(libbullet-dev pkg-config)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "missing packages: ${missing[*]} (run 'make bench-peers' as root, or install them)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
