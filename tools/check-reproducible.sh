#!/usr/bin/env bash
# Builds the release of the commit checked out twice and fails unless every
# package is byte-identical, printing diffoscope's report on each that is
# not. The second build runs later, in other folders, where the file system
# allows on another one (tmpfs lists a folder in another order than ext4)
# and with another umask.
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

if cmp -s "$out/first/SHA256SUMS" "$out/second/SHA256SUMS"; then
    echo "Reproducible: $(wc -l <"$out/first/SHA256SUMS") packages byte-identical in both builds"
    exit 0
fi
while read -r _ name; do
    if ! cmp -s "$out/first/$name" "$out/second/$name"; then
        echo "== $name differs:"
        diffoscope "$out/first/$name" "$out/second/$name" || true
    fi
done <"$out/first/SHA256SUMS"
exit 1
