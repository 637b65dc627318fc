#!/usr/bin/env bash
# Downloads (never installs) the Debian game data packages the real levels
# come from into CACHE_DIR, once: a .deb already there is used again, so a
# rebuild costs no download.
#   tools/levels/fetch-debs.sh CACHE_DIR PACKAGE...
set -euo pipefail
cache=$1
shift
mkdir -p "$cache"
for package in "$@"; do
  if compgen -G "$cache/${package}_*.deb" >/dev/null; then
    echo "cached: $(ls "$cache/${package}"_*.deb)"
    continue
  fi
  # apt-get download writes into the current folder; apt's sandbox user
  # must be able to write there, so fetch as root without it when needed.
  (cd "$cache" && apt-get download -o APT::Sandbox::User=root "$package")
done
