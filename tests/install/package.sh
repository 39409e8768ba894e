#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the built tree, as `make package` does,
# and checks it the way Debian's own tools would: lintian finds no error or
# warning, and no package is named twice among its dependencies.
set -euo pipefail
build=$1

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(find "$out" -maxdepth 1 -name 'tavimark_*.deb' | head -n 1)
[[ -n $deb ]] || { echo "FAIL: cpack made no package"; exit 1; }

failed=0
fail() { echo "FAIL: $*"; failed=1; }

# lintian warns that it runs as root; that remark is not about the package.
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || fail "lintian finds errors or warnings in $(basename "$deb")"

for field in Depends Recommends; do
    names=$(dpkg-deb -f "$deb" "$field" | tr ',' '\n' | sed 's/[(|].*//; s/ //g' | grep -v '^$' || true)
    twice=$(sort <<<"$names" | uniq -d)
    [[ -z $twice ]] || fail "$field names $twice more than once"
done
contents=$(dpkg-deb -c "$deb")
grep -q ' \./usr/share/doc/tavimark/copyright$' <<<"$contents" || fail "no copyright file in the package"

[[ $failed -eq 0 ]] && echo "the package $(basename "$deb") is clean"
exit $failed
