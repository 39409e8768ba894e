#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the built program into a temporary root, as a package build
# would, and checks what a desktop finds there: the program, its cursor
# files, the icons the menu entry names, the manual page and the bash
# completion, and a menu entry and software
# description that the desktop's own validators accept.
set -euo pipefail
build=$1

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
app_id=com.tavimark.tavimark

failed=0
fail() { echo "FAIL: $*"; failed=1; }

[[ -x $usr/bin/tavimark ]] || fail "no program in bin/"
for cursor in HAND-M.CUR drag.ico; do
    [[ -s $usr/share/tavimark/$cursor ]] || fail "no $cursor in share/tavimark/"
done

icons=$usr/share/icons/hicolor
for size in 16 22 24 32 48 64 128 256; do
    file "$icons/${size}x${size}/apps/$app_id.png" | grep -q "PNG image data, $size x $size," \
        || fail "no ${size}x${size} PNG icon"
done
[[ -s $icons/scalable/apps/$app_id.svg ]] || fail "no scalable icon"

# The manual page and the shell's completion, where man and bash look.
page=$usr/share/man/man1/tavimark.1.gz
if [[ -s $page ]]; then
    warnings=$(man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot show tavimark.1.gz"
    [[ -z $warnings ]] || fail "the manual page has warnings: $warnings"
else
    fail "no manual page in share/man/man1/"
fi
completion=$usr/share/bash-completion/completions/tavimark
bash -c 'source "$1" && complete -p tavimark' sh "$completion" >/dev/null 2>&1 \
    || fail "no bash completion for tavimark in share/bash-completion/completions/"

desktop=$usr/share/applications/$app_id.desktop
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $app_id.metainfo.xml"

# The entry must start the installed program and name the installed icon.
grep -qx "Exec=tavimark %F" "$desktop" || fail "the menu entry does not start tavimark with files"
grep -qx "Icon=$app_id" "$desktop" || fail "the menu entry names another icon"

[[ $failed -eq 0 ]] && echo "installed tree complete and valid"
exit $failed
