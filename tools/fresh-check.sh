#!/usr/bin/env bash
# `make fresh-check`: a newcomer's first steps on a stock Debian 12 machine.
# Bootstraps a minimal Debian root with mmdebstrap (the essential packages and
# apt: no make, no compiler), copies this tree into it (tracked files and new
# ones git does not ignore) and runs, as root inside it, the README's two
# commands: ./setup demo, then (FRESH_TEST=1, the default) ./setup test; each
# is timed, with its last line and what apt said it would download and take
# on disk. Between the two, `make install` and the README's pkg-config lines,
# on what ./setup demo installed alone. Before them it runs both as an
# ordinary user, to show what that user is told. With FRESH_LOCK=N another
# process holds apt's lock for the first N seconds, so the wait for a busy
# package manager is seen too. Needs root and mmdebstrap (apt-get install
# mmdebstrap); the root is made under FRESH_DIR (default a new folder in
# /tmp) and removed at the end unless FRESH_KEEP=1.
set -euo pipefail

if [[ ${1:-} == --inside ]]; then
  root=$2
  step() {  # step TITLE COMMAND: runs COMMAND in the root, timed, and prints its last line
    local title=$1 start status
    shift
    start=$(date +%s)
    echo "== $title"
    # A clean environment, as a login on the new machine has: nothing of the
    # make that may have started this (MAKELEVEL, MAKEFLAGS) leaks in.
    chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      HOME=/root LANG=C.UTF-8 ZEP_APT_WAIT="${ZEP_APT_WAIT:-600}" /bin/sh -c "$*" >"$root/tmp/step.log" 2>&1 \
      && status=0 || status=$?
    echo "   $(( $(date +%s) - start )) s, exit $status, last line: $(tail -n 1 "$root/tmp/step.log")"
    grep "^Need to get\|^After this operation" "$root/tmp/step.log" | sed 's/^/   apt: /' || true
    if [[ $status -ne 0 ]]; then tail -n 40 "$root/tmp/step.log"; exit 1; fi
  }
  echo "== tools the stock root lacks: $(for t in make cmake g++ cc; do chroot "$root" sh -c "command -v $t >/dev/null" || printf '%s ' "$t"; done)"
  for command in "./setup demo" "./setup test"; do
    echo "== $command as an ordinary user (nobody)"
    status=0
    chroot "$root" su -s /bin/sh nobody -c "cd /src && $command" 2>&1 | sed 's/^/   /' || status=$?
    echo "   exit $status"
  done
  if [[ ${FRESH_LOCK:-0} -gt 0 ]]; then
    # apt takes fcntl locks; this holds the dpkg front-end lock of the root.
    python3 -c 'import fcntl, sys, time
f = open(sys.argv[1], "a"); fcntl.lockf(f, fcntl.LOCK_EX); time.sleep(float(sys.argv[2]))' \
      "$root/var/lib/dpkg/lock-frontend" "$FRESH_LOCK" &
    echo "== another process holds apt's lock for $FRESH_LOCK s"
  fi
  step "./setup demo (as root)" "cd /src && ./setup demo"
  grep -m 1 -i "waiting for.*lock\|waiting for another package manager" "$root/tmp/step.log" | sed 's/^/   seen: /' || true
  # The README's pkg-config lines, as written, with its example as app.c.
  awk '$0 == "<!-- package:pkg-config -->" {f = 1; next} f && /^```/ {if (in_block) exit; in_block = 1; next}
    f && in_block' "$root/src/README.md" >"$root/tmp/pkg-config.sh"
  awk '/<!-- example:begin -->/ {f = 1; next} /<!-- example:end -->/ {f = 0} f && !/^```/' \
    "$root/src/README.md" >"$root/tmp/app.c"
  step "make install and the README's pkg-config lines" \
    "cd /src && make install PREFIX=/root/zep >/dev/null && cd /tmp && sh -e pkg-config.sh && ./app && ./app_static"
  if [[ ${FRESH_TEST:-1} == 1 ]]; then
    step "./setup test (as root)" "cd /src && ./setup test"
  fi
  exit 0
fi

command -v mmdebstrap >/dev/null || { echo "fresh-check: needs mmdebstrap (as root: apt-get install mmdebstrap)" >&2; exit 1; }
[[ $(id -u) -eq 0 ]] || { echo "fresh-check: run as root (it bootstraps and enters a Debian root)" >&2; exit 1; }
here=$(cd "$(dirname "$0")/.." && pwd)
dir=${FRESH_DIR:-$(mktemp -d /tmp/zep-fresh.XXXXXX)}
mkdir -p "$dir"
root=$dir/root
tarball=$dir/src.tar
git -C "$here" ls-files -z -c -o --exclude-standard | tar -C "$here" --null -T - -cf "$tarball"
start=$(date +%s)
echo "== bootstrapping Debian 12 (minbase) in $root"
mmdebstrap --variant=minbase --quiet bookworm "$root" http://deb.debian.org/debian \
  --customize-hook="mkdir -p \"\$1/src\" && tar -C \"\$1/src\" -xf $tarball" \
  --customize-hook="FRESH_TEST=${FRESH_TEST:-1} FRESH_LOCK=${FRESH_LOCK:-0} $0 --inside \"\$1\""
echo "fresh-check: all steps passed in $(( $(date +%s) - start )) s"
[[ ${FRESH_KEEP:-0} == 1 ]] || rm -rf "$dir"
