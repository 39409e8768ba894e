#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark and prints its figures ("name: value unit" per line).
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$build/runtime}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

echo "== joblist"; "$build/bench/bench_joblist"
echo "== reorder"; "$build/bench/bench_reorder"
echo "== startup"; "$build/bench/bench_startup" "$build/bin/bench_startup_probe"
echo "== walk"; "$build/bench/bench_walk"
echo "== urllist"; "$build/bench/bench_urllist"
echo "== settle"; "$build/bench/bench_settle" 2> "$build/bench_settle.log"
echo "== headerfooter"; "$build/bench/bench_headerfooter" 2> "$build/bench_headerfooter.log"

# The print run needs a printer: a private scheduler of the print test rig,
# started here and stopped however the benchmark ends.
echo "== print"
# A real manual nobody here wrote gives the print figures of real pages;
# without it they are left out, and this says how to get them.
if [[ ! -d /usr/share/doc/git-doc ]]; then
    echo "# the Debian package git-doc is missing (apt-get install git-doc): no figures for real manual pages"
fi
(
    rig=$(mkdir -p "$build/bench-rig" && cd "$build/bench-rig" && pwd)
    rigscript=$(dirname "$0")/../tests/rig/rig.sh
    "$rigscript" start "$rig" >/dev/null
    trap '"$rigscript" stop "$rig"' EXIT
    CUPS_SERVER=$(cat "$rig/server") TAVIMARK_RIG=$rig "$build/bench/bench_print" 2> "$rig/bench_print.log"
)

# The real window on X beside the command line: a virtual X server with a
# window manager, and a rig of its own.
echo "== window"
if ! command -v openbox >/dev/null; then
    echo "# the Debian package openbox is missing (apt-get install openbox): no figures for the window on X"
else (
    rig=$(mkdir -p "$build/bench-rig-window" && cd "$build/bench-rig-window" && pwd)
    rigscript=$(dirname "$0")/../tests/rig/rig.sh
    "$rigscript" start "$rig" >/dev/null
    Xvfb -displayfd 3 -screen 0 1280x900x24 3>"$rig/display" 2>/dev/null &
    xserver=$!
    trap '"$rigscript" stop "$rig"; kill $xserver $windowmanager 2>/dev/null' EXIT
    while [[ ! -s $rig/display ]]; do sleep 0.1; done
    export DISPLAY=:$(cat "$rig/display")
    openbox >/dev/null 2>&1 &
    windowmanager=$!
    QT_QPA_PLATFORM=xcb CUPS_SERVER=$(cat "$rig/server") "$build/bench/bench_window" 2> "$rig/bench_window.log"
) fi

# The journal's cost over a long run of the real program; it starts a rig of
# its own for each run. BENCH_JOURNAL_ENTRIES changes the 10,000 documents
# per run (each 10,000 take several minutes).
echo "== journal"
"$build/bench/bench_journal" ${BENCH_JOURNAL_ENTRIES:-10000} 2> "$build/bench_journal.log"
