#!/usr/bin/env bash
# The body of `make levels`: the game data packages downloaded once into
# DIR/debs, their .pk3 archives unpacked into DIR/scratch, and the chosen
# maps converted to DIR/maps/NAME.obj and NAME-sky.obj.
#   tools/levels/make-levels.sh DIR
set -euo pipefail
dir=$1
here=$(dirname "$0")
packages=(openarena-088-data nexuiz-data)
maps=(maps/oa_minia.bsp maps/czest3ctf.bsp maps/am_spacecont.bsp
      maps/cyberparcour01.bsp maps/racetrack.bsp maps/warfare.bsp)

"$here/fetch-debs.sh" "$dir/debs" "${packages[@]}"
for package in "${packages[@]}"; do
  # A marker per package, so a second run does not unpack 300 MB again.
  marker=$dir/scratch/.$package
  [[ -e $marker ]] && continue
  dpkg-deb -x "$dir/debs/${package}"_*.deb "$dir/scratch"
  touch "$marker"
done
# Every archive is searched in turn for each map, so it does not matter
# which of a game's archives holds it.
mapfile -t archives < <(find "$dir/scratch" -name '*.pk3' | sort)
python3 "$here/bsp2obj.py" $(printf -- '--pk3 %s ' "${archives[@]}") --out "$dir/maps" "${maps[@]}"
