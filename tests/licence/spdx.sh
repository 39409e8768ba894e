#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of the project names its licence near its top, so that
# a file copied out of the tree still says under what terms it may be used.
# Looks at the files git tracks, or at every file when the tree is no clone.
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files)
else
    files=$(find . -type f -not -path './build*' -not -path './.git/*' | sed 's|^\./||')
fi

missing=0
while IFS= read -r file; do
    case $file in
        *.cpp|*.h|*.c|*.sh|*.cmake|*CMakeLists.txt|Makefile|run|test|.ci/run|tests/rig/capture|*.py|*.svg|*.qrc|*.ts|*.desktop) ;;
        *) continue ;;
    esac
    if ! head -n 3 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later'; then
        echo "no SPDX licence line at the top of $file"
        missing=$((missing + 1))
    fi
done <<< "$files"

[[ $missing -eq 0 ]] && echo "every source file names GPL-3.0-or-later"
exit $(( missing > 0 ))
