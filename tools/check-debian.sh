#!/usr/bin/env bash
# Checks that the README's two commands pass on a fresh Debian system of a
# release: makes one with mmdebstrap (the minimal base, as a container or a
# fresh machine starts), puts a clean export of the commit checked out in
# it, and runs tools/run.sh and then tools/test.sh there as root, each of
# which must install the rest itself. Reports each command's result and time,
# and copies the screenshot out. The system is taken down on every exit.
# Not part of CI: it downloads the release and runs everything from scratch.
#   sudo tools/check-debian.sh bookworm|trixie
# Logs and the screenshot go to out/check-debian/RELEASE/. Environment:
#   MIRROR           the Debian archive (default: the one this machine's
#                    apt sources name, else deb.debian.org)
#   SECURITY_MIRROR  its security archive (likewise)
#   CHECK_DEBIAN_DIR where the system is made (default: a new folder in /var/tmp)
set -euo pipefail
cd "$(dirname "$0")/.."

release=${1:-}
case "$release" in
    bookworm | trixie) ;;
    *) echo "usage: $0 bookworm|trixie" >&2; exit 2 ;;
esac
if [ "$(id -u)" -ne 0 ]; then
    echo "$0: run as root (it makes a system with mmdebstrap and binds /proc, /sys and /dev into it)" >&2
    exit 2
fi
command -v mmdebstrap >/dev/null || { echo "$0: needs mmdebstrap (apt install mmdebstrap)" >&2; exit 2; }

# The first archive of a kind (.../debian or .../debian-security) that this
# machine's apt sources name, one-line or deb822, so that a machine which
# reaches only a mirror uses it for every release.
source_uri() {
    local suffix=$1
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
        sed -n -e 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' \
            -e 's/^URIs:[[:space:]]*//p' | tr ' ' '\n' | grep -m1 "/$suffix/\?\$" || true
}
mirror=${MIRROR:-$(source_uri debian)}
mirror=${mirror:-http://deb.debian.org/debian}
security=${SECURITY_MIRROR:-$(source_uri debian-security)}
security=${security:-http://deb.debian.org/debian-security}

commit=$(git rev-parse HEAD)
out=$(pwd)/out/check-debian/$release
rm -rf "$out"
mkdir -p "$out"
work=${CHECK_DEBIAN_DIR:-$(mktemp -d /var/tmp/brindlemoor-check-debian.XXXXXX)}
root=$work/root

mounts_under_root() {
    findmnt -rn -o TARGET | awk -v root="$root" 'index($0, root "/") == 1' | sort -r
}
cleanup() {
    local status=$?
    set +e
    if [ -n "${mmdebstrap_pid:-}" ]; then
        kill -TERM "$mmdebstrap_pid" 2>/dev/null
        wait "$mmdebstrap_pid" 2>/dev/null
    fi
    # Whatever is still running in the system (a display, a Wine server).
    for process in /proc/[0-9]*; do
        if [ "$(readlink "$process/root" 2>/dev/null)" = "$root" ]; then
            kill -KILL "${process#/proc/}" 2>/dev/null
        fi
    done
    mounts_under_root | while read -r target; do
        umount "$target" 2>/dev/null || umount -l "$target"
    done
    if [ -n "$(mounts_under_root)" ]; then
        echo "$0: still mounted under $root, left in place:" >&2
        mounts_under_root >&2
    else
        rm -rf --one-file-system "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# Long steps run in the background and are waited for, so that a signal
# to this script alone cleans up at once rather than when the step ends
# (mmdebstrap, signalled, first undoes its own work).

echo "== $release from $mirror (security: $security) into $root"
mmdebstrap --variant=minbase "$release" "$root" \
    "deb $mirror $release main" \
    "deb $mirror $release-updates main" \
    "deb $security $release-security main" >"$out/mmdebstrap.log" 2>&1 &
mmdebstrap_pid=$!
wait "$mmdebstrap_pid" || { tail -20 "$out/mmdebstrap.log" >&2; exit 1; }
mmdebstrap_pid=

mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"

mkdir -p "$root/srv/brindlemoor"
git archive "$commit" | tar -x -C "$root/srv/brindlemoor"
echo "== commit $commit exported to /srv/brindlemoor"

# One README command in the system, as root in a login-like environment
# with no display; its output goes to the terminal and to a log.
# in_system NAME COMMAND
results=()
failed=0
in_system() {
    local name=$1 command=$2 start status
    echo "== $command"
    start=$(date +%s)
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd /srv/brindlemoor && $command" </dev/null 2>&1 | tee "$out/$name.log" &
    status=0
    wait $! || status=$?
    local seconds=$(($(date +%s) - start))
    local verdict="passed"
    if [ "$status" -ne 0 ]; then
        verdict="FAILED (exit status $status)"
        failed=1
    fi
    results+=("$(printf '%-14s %s in %dm%02ds, log %s' "$command" "$verdict" $((seconds / 60)) $((seconds % 60)) "$out/$name.log")")
    echo "== ${results[-1]}"
}

in_system run tools/run.sh
screenshot="(none)"
if [ -f "$root/srv/brindlemoor/out/screenshot.png" ]; then
    cp "$root/srv/brindlemoor/out/screenshot.png" "$out/screenshot.png"
    screenshot=$out/screenshot.png
fi
in_system test tools/test.sh

echo
echo "== Debian $release, commit $commit"
printf '%s\n' "${results[@]}"
echo "screenshot:    $screenshot"
exit "$failed"
