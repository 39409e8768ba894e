#!/usr/bin/env bash
# Installs the built program into a temporary root, as a package build
# would, and checks what a desktop finds there: the program, its cursor
# files, the icons the menu entry names, and a menu entry and software
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

# PNG width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
for size in 48 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    if [[ ! -s $png ]]; then
        fail "no ${size}x${size} icon"
    elif [[ $(png_size "$png") != "${size}x${size}" ]]; then
        fail "the ${size}x${size} icon is $(png_size "$png")"
    fi
done
[[ -s $usr/share/icons/hicolor/scalable/apps/$app_id.svg ]] || fail "no scalable icon"

desktop=$usr/share/applications/$app_id.desktop
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $app_id.metainfo.xml"

# The entry must start the installed program and name the installed icon.
grep -qx "Exec=tavimark %F" "$desktop" || fail "the menu entry does not start tavimark with files"
grep -qx "Icon=$app_id" "$desktop" || fail "the menu entry names another icon"

[[ $failed -eq 0 ]] && echo "installed tree complete and valid"
exit $failed
