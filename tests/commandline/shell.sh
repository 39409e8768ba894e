#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page and the bash completion against the built program: the
# page renders without a warning and names every option and setting --help
# names; the completion loads in a plain bash and completes options, the
# rig's printers for -d, and HTML files and folders for entries.
#   shell.sh PROGRAM MANPAGE COMPLETION RIGDIR
set -euo pipefail
program=$1 page=$2 completion=$3 rig=$4

failed=0
fail() { echo "FAIL: $*"; failed=1; }

warnings=$(groff -man -ww -z "$page" 2>&1) || fail "groff cannot read the manual page"
[[ -z $warnings ]] || fail "groff warns about the manual page: $warnings"
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot show the manual page"
[[ -z $warnings ]] || fail "man warns about the manual page: $warnings"

help=$(QT_QPA_PLATFORM=offscreen "$program" --help)
options=$(grep -oE '^  (-[a-z], )?--[a-z-]+' <<<"$help" | grep -oE -- '--[a-z-]+|-[a-z]')
settings=$(grep -oE '^  TAVIMARK_[A-Z_]+' <<<"$help" | tr -d ' ')
[[ $(wc -w <<<"$options") -ge 20 ]] || fail "--help names too few options: $options"
[[ $(wc -w <<<"$settings") -ge 4 ]] || fail "--help names too few settings: $settings"
# As groff writes them: \- for every dash.
for option in $options; do
    grep -qF -- "${option//-/\\-}" "$page" || fail "the manual page does not name $option"
done
for setting in $settings; do
    grep -qF "$setting" "$page" || fail "the manual page does not name $setting"
done

# complete WORD... : what the completion offers for the last word.
complete_words() {
    bash --norc --noprofile -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}; _tavimark; printf "%s\n" "${COMPREPLY[@]}"' sh "$completion" "$@"
}
loaded=$(bash --norc --noprofile -c 'source "$1" && complete -p tavimark' sh "$completion") \
    || fail "the completion does not load"
[[ $loaded == *"-F _tavimark tavimark"* ]] || fail "the completion is not bound to tavimark: $loaded"

offered=$(complete_words tavimark --pri | sort | tr '\n' ' ')
[[ $offered == "--print --printer " ]] || fail "--pri completes to '$offered', not '--print --printer '"
dashed=$(complete_words tavimark -)
for option in $options; do
    grep -qx -- "$option" <<<"$dashed" || fail "the completion does not offer $option"
done

# Printers: the program's list, without its mark on the default one.
CUPS_SERVER=$(cat "$rig/server")
export CUPS_SERVER
printers=$(complete_words "$program" -d '')
grep -qx 'Rig' <<<"$printers" || fail "-d does not offer the rig's queue: $printers"
grep -q 'default' <<<"$printers" && fail "-d offers the default mark as part of a name: $printers"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/docs/sub"
touch "$work/docs/a.htm" "$work/docs/b.html" "$work/docs/notes.txt"
cd "$work"
entries=$(complete_words tavimark docs/ | sort | tr '\n' ' ')
[[ $entries == "docs/a.htm docs/b.html docs/sub " ]] || fail "entries complete to '$entries'"
folders=$(complete_words tavimark --output docs/ | tr '\n' ' ')
[[ $folders == "docs/sub " ]] || fail "--output completes to '$folders', not folders only"
lists=$(complete_words tavimark --list docs/n)
[[ $lists == "docs/notes.txt" ]] || fail "--list completes to '$lists', not any file"

[[ $failed -eq 0 ]] && echo "manual page and completion agree with --help"
exit $failed
