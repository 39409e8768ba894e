#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the built program in a real window on a virtual X server with one
# local document, presses Print so that the browser engine starts and prints
# it onto the print rig, dismisses the closing message and closes the
# window. Standard error must stay empty; with TAVIMARK_DEBUG=1 the engine's
# start-up remarks must be there, so that the quiet check can fail at all.
set -euo pipefail
program=$1
wmclose=$2
rig=$3

work=$(mktemp -d)
cleanup() {
    [[ -n ${app_pid:-} ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n ${x_pid:-} ]] && kill "$x_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

[[ -s $rig/server ]] || { echo "FAIL: the print rig is not running"; exit 1; }
export CUPS_SERVER=$(cat "$rig/server")

# Xvfb picks a free display itself and writes its number to fd 3.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
x_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
unset QT_QPA_PLATFORM TAVIMARK_DEBUG

printf '<!DOCTYPE html><title>window quiet smoke</title><p>Printed from the window.</p>\n' >"$work/page.htm"

# The visible windows titled "Tavimark": the main window, then any message.
windows() { xdotool search --onlyvisible --name '^Tavimark$' 2>/dev/null || true; }

# wait_for COUNT: waits until COUNT windows titled Tavimark are visible.
wait_for() {
    for _ in $(seq 600); do
        [[ $(windows | wc -l) -eq $1 ]] && return 0
        sleep 0.1
    done
    return 1
}

# print_once JOBS NAME [VAR=VALUE...]: one start of the program in that
# environment, standard error into $work/NAME.err; the rig then holds JOBS
# jobs of the document.
print_once() {
    local jobs=$1 name=$2
    shift 2
    env "$@" "$program" "$work/page.htm" >"$work/$name.out" 2>"$work/$name.err" &
    app_pid=$!
    wait_for 1 || { echo "FAIL ($name): no window titled Tavimark appeared"; cat "$work/$name.err"; exit 1; }
    local window
    window=$(windows | head -n1)
    # The middle of "Print HTML Files" (6960, 2520 twips; 2175 by 1455).
    xdotool mousemove --window "$window" 536 216 click 1
    wait_for 2 || { echo "FAIL ($name): no closing message after Print"; cat "$work/$name.err"; exit 1; }
    local message
    message=$(windows | grep -vx "$window" | head -n1)
    "$wmclose" "$message"
    wait_for 1 || { echo "FAIL ($name): the closing message stayed"; exit 1; }
    # The job reached the rig: the engine really made the document.
    local printed=0
    for _ in $(seq 100); do
        printed=$(grep -Fxl "$work/page.htm" "$rig"/jobs/*.title 2>/dev/null | wc -l)
        [[ $printed -ge $jobs ]] && break
        sleep 0.1
    done
    [[ $printed -ge $jobs ]] || { echo "FAIL ($name): no job of the document reached the rig"; cat "$work/$name.err"; exit 1; }
    "$wmclose" "$window"
    for _ in $(seq 100); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            local status=0
            wait "$app_pid" || status=$?
            app_pid=""
            [[ $status -eq 0 ]] && return 0
            echo "FAIL ($name): the program ended with status $status"; cat "$work/$name.err"; exit 1
        fi
        sleep 0.1
    done
    echo "FAIL ($name): the program still runs 10 s after its window was closed"
    exit 1
}

print_once 1 quiet
if [[ -s $work/quiet.err ]]; then
    echo "FAIL: the window wrote to standard error:"
    cat "$work/quiet.err"
    exit 1
fi
echo "standard error stayed empty while the engine printed"

print_once 2 debug TAVIMARK_DEBUG=1
if [[ ! -s $work/debug.err ]]; then
    echo "FAIL: with TAVIMARK_DEBUG=1 standard error is empty too, so the quiet check proves nothing"
    exit 1
fi
echo "with TAVIMARK_DEBUG=1 standard error has $(wc -l <"$work/debug.err") lines"
