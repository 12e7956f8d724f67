#!/usr/bin/env bash
# Fails, naming the files, when a C++ file differs from what clang-format
# makes of it under .clang-format. The test command runs it.
#   tools/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi

# One run over every file; it names each file and line it would change.
if ! report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
    echo "Not formatted as .clang-format says (run clang-format -i on them):" >&2
    grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | sort -u | sed 's/^/  /' >&2
    exit 1
fi
echo "${#files[@]} C++ files formatted as .clang-format says"
