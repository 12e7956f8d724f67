#!/usr/bin/env bash
# Builds the release of the commit checked out twice and fails unless every
# package is byte-identical, printing diffoscope's report on each that is
# not. The second build runs later, in other folders, where the file system
# allows on another one (tmpfs lists a folder in another order than ext4)
# and with another umask. The .buildinfo says when it was built, and is
# held to the same bytes but for that line.
#   tools/check-reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh release
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
tools/release.sh "$out/first"
second_tmp=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    second_tmp=/dev/shm
fi
(umask 0002 && TMPDIR=$second_tmp tools/release.sh "$out/second")

for build in first second; do
    sed -i '/^Build-Date: /d' "$out/$build"/*.buildinfo
done
differing=0
while read -r _ name; do
    if ! cmp -s "$out/first/$name" "$out/second/$name"; then
        echo "== $name differs:"
        diffoscope "$out/first/$name" "$out/second/$name" || true
        differing=$((differing + 1))
    fi
done <"$out/first/SHA256SUMS"
if [ "$differing" -ne 0 ]; then
    echo "Not reproducible: $differing of $(wc -l <"$out/first/SHA256SUMS") files differ" >&2
    exit 1
fi
echo "Reproducible: all $(wc -l <"$out/first/SHA256SUMS") files byte-identical in both builds:"
cat "$out/first/SHA256SUMS"
