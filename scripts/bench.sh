#!/usr/bin/env bash
# Runs every benchmark and prints its figures ("name: value unit" per line).
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$build/runtime}
mkdir -p "$XDG_RUNTIME_DIR"

echo "== joblist"; "$build/bench/bench_joblist"
echo "== startup"; "$build/bench/bench_startup" "$build/bin/bench_startup_probe"
echo "== urllist"; "$build/bench/bench_urllist"
