#!/usr/bin/env bash
# Runs scripts/setup.sh against fake package tools: as root, as a user with and without sudo, and
# while another package manager holds the locks. Usage: SetupTest.sh path/to/setup.sh
set -euo pipefail
setup=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL [$case_name]: $*" >&2
    failures=$((failures + 1))
}

# A PATH that holds the fakes and the few real tools the script uses, nothing else: a real sudo
# on this machine must not be found where the case has none.
make_bin() {
    local bin=$work/$case_name/bin
    mkdir -p "$bin"
    for tool in bash env grep cat; do
        ln -s "$(command -v "$tool")" "$bin/$tool"
    done
    local log=$work/$case_name/log
    : >"$log"
    # Every package is missing.
    printf '#!/bin/bash\nexit 1\n' >"$bin/dpkg-query"
    printf '#!/bin/bash\necho "$FAKE_UID"\n' >"$bin/id"
    printf '#!/bin/bash\necho "sleep $*" >>%q\n' "$log" >"$bin/sleep"
    # sudo resets the environment, as the real one does by default.
    printf '#!/bin/bash\necho sudo >>%q\nexec env -i PATH="$PATH" "$@"\n' "$log" >"$bin/sudo"
    # apt-get refuses its lock as long as the file "locked" holds a positive count.
    cat >"$bin/apt-get" <<FAKE
#!/bin/bash
cmd=""
for a in "\$@"; do case "\$a" in update|install) cmd=\$a ;; esac; done
echo "apt-get \$cmd DEBIAN_FRONTEND=\${DEBIAN_FRONTEND:-unset}" >>"$log"
n=\$(cat "$work/$case_name/locked" 2>/dev/null || echo 0)
if ((n > 0)); then
    echo \$((n - 1)) >"$work/$case_name/locked"
    echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 42 (apt-get)" >&2
    exit 100
fi
FAKE
    chmod +x "$bin"/*
    [ "$1" = with-sudo ] || rm "$bin/sudo"
}

run_case() {
    case_name=$1
    local uid=$2 sudo=$3 locked=$4 wait=$5
    make_bin "$sudo"
    echo "$locked" >"$work/$case_name/locked"
    status=0
    env -i PATH="$work/$case_name/bin" FAKE_UID="$uid" TUNEMILL_APT_LOCK_WAIT="$wait" \
        bash "$setup" >"$work/$case_name/out" 2>&1 || status=$?
    log=$(cat "$work/$case_name/log")
}

expect_log() {
    [ "$log" = "$1" ] || fail "calls were:"$'\n'"$log"$'\n'"expected:"$'\n'"$1"
}

run_case root-without-sudo 0 without-sudo 0 60
((status == 0)) || fail "exit status $status: $(cat "$work/$case_name/out")"
expect_log "apt-get update DEBIAN_FRONTEND=noninteractive
apt-get install DEBIAN_FRONTEND=noninteractive"

run_case user-with-sudo 1000 with-sudo 0 60
((status == 0)) || fail "exit status $status: $(cat "$work/$case_name/out")"
expect_log "sudo
apt-get update DEBIAN_FRONTEND=noninteractive
sudo
apt-get install DEBIAN_FRONTEND=noninteractive"

run_case user-without-sudo 1000 without-sudo 0 60
((status != 0)) || fail "a user without sudo was reported as set up"
expect_log ""
grep -q "needs root" "$work/$case_name/out" || fail "no word on what is missing"

# Another apt holds the lists' lock for two tries: the script waits, then goes on.
run_case busy-package-manager 0 without-sudo 2 60
((status == 0)) || fail "exit status $status: $(cat "$work/$case_name/out")"
expect_log "apt-get update DEBIAN_FRONTEND=noninteractive
sleep 5
apt-get update DEBIAN_FRONTEND=noninteractive
sleep 5
apt-get update DEBIAN_FRONTEND=noninteractive
apt-get install DEBIAN_FRONTEND=noninteractive"
[ "$(grep -c "waiting for it" "$work/$case_name/out")" = 1 ] || fail "the wait is not told once"

# A lock that is never let go ends the wait with apt-get's own failure.
run_case lock-never-released 0 without-sudo 1000 0
((status == 100)) || fail "exit status $status, not apt-get's"
grep -q "Could not get lock" "$work/$case_name/out" || fail "apt-get's message is lost"

((failures == 0)) && echo "all setup cases pass"
exit $((failures > 0))
