#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the built program in a real window on a virtual X server, checks
# that a window titled "Tavimark" appears, closes it as a user would, and
# checks that the program then ends by itself.
set -euo pipefail
program=$1
wmclose=$2

work=$(mktemp -d)
cleanup() {
    [[ -n ${app_pid:-} ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n ${x_pid:-} ]] && kill "$x_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to fd 3.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
x_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
unset QT_QPA_PLATFORM

"$program" >"$work/app.log" 2>&1 &
app_pid=$!

window=""
for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Tavimark$' 2>/dev/null | head -n1 || true)
    [[ -n $window ]] && break
    sleep 0.1
done
if [[ -z $window ]]; then
    echo "FAIL: no window titled Tavimark appeared"; cat "$work/app.log"; exit 1
fi
echo "window $window is titled: $(xdotool getwindowname "$window")"

"$wmclose" "$window"
for _ in $(seq 100); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
        wait "$app_pid" && status=0 || status=$?
        app_pid=""
        echo "program ended with status $status after its window was closed"
        [[ $status -eq 0 ]] && exit 0
        cat "$work/app.log"; exit 1
    fi
    sleep 0.1
done
echo "FAIL: the program still runs 10 s after its window was closed"
exit 1
