# apt_wait ARGS...: apt-get ARGS, waiting for the package manager's lock when
# another apt or dpkg run holds it (an unattended upgrade, a second terminal)
# instead of failing at once with "Could not get lock". The wait is bounded by
# ZEP_APT_WAIT seconds (default 600); then it stops and says why.
# POSIX sh, so that ./setup can use it before bash is known to be there.
apt_wait() {
  apt_wait_limit=${ZEP_APT_WAIT:-600}
  apt_wait_start=$(date +%s)
  apt_wait_log=$(mktemp)
  while :; do
    # apt's own timeout covers the dpkg lock; the loop covers the lists and
    # archive locks of `apt-get update`, which it does not wait for.
    if apt-get -o DPkg::Lock::Timeout="$apt_wait_limit" "$@" 2>"$apt_wait_log"; then
      cat "$apt_wait_log" >&2
      rm -f "$apt_wait_log"
      return 0
    fi
    if ! grep -q "Could not get lock\|Unable to lock\|Unable to acquire" "$apt_wait_log"; then
      cat "$apt_wait_log" >&2
      rm -f "$apt_wait_log"
      return 1
    fi
    apt_wait_waited=$(( $(date +%s) - apt_wait_start ))
    if [ "$apt_wait_waited" -ge "$apt_wait_limit" ]; then
      cat "$apt_wait_log" >&2
      rm -f "$apt_wait_log"
      echo "apt-get $1: another package manager held the lock for ${apt_wait_waited} s" \
        "(ZEP_APT_WAIT=$apt_wait_limit); let it finish, then run this again" >&2
      return 1
    fi
    echo "apt-get $1: waiting for another package manager to release its lock (${apt_wait_waited} s of $apt_wait_limit)" >&2
    sleep 5
  done
}
