#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming the texts, when a text the sources hand to Qt's translation
# system is missing from the tree's translation files, or is there without a
# finished translation. lupdate reads the sources into copies of the files
# in a folder of its own; the tree is never written.
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each message's context and the first line of its source text, sorted.
sources() {
    awk '/<name>/ { context = $0; gsub(/ *<\/?name>/, "", context) }
         /<source>/ { source = $0; sub(/.*<source>/, "", source); sub(/<\/source>.*/, "", source); print "  " context ": " source }' "$1" |
        LC_ALL=C sort -u
}

failed=0
for tree in "$root"/translations/tavimark_*.ts; do
    copy="$work/$(basename "$tree")"
    cp "$tree" "$copy"
    (cd "$root" && "$lupdate" -silent -no-obsolete -locations none -extensions cpp,h src -ts "$copy" >/dev/null)
    # Each message whose translation is unfinished (new to the file, or left
    # so) or empty, by its source text's first line.
    missing=$(awk '
        /<source>/ { source = $0; sub(/.*<source>/, "", source); sub(/<\/source>.*/, "", source) }
        /<translation type="unfinished"/ || /<translation><\/translation>/ || /<translation\/>/ { print "  " source }
        /<numerusform><\/numerusform>/ { print "  " source " (a plural form)" }
    ' "$copy" | sort -u)
    if [[ -n $missing ]]; then
        echo "$(basename "$tree"): these texts have no finished translation (run scripts/update-translations.sh and translate them):"
        echo "$missing"
        failed=1
    fi
    # Texts the file holds that the sources no longer have.
    gone=$(comm -23 <(sources "$tree") <(sources "$copy"))
    if [[ -n $gone ]]; then
        echo "$(basename "$tree"): holds texts the sources no longer have (run scripts/update-translations.sh):"
        echo "$gone"
        failed=1
    fi
done
[[ $failed -eq 0 ]] && echo "every text of the sources is translated"
exit $failed
