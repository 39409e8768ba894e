#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A soak of the journal: a list of N documents (default 10000), every 50th
# entry a file that is not there, printed with --journal on a fresh print
# rig, killed with SIGKILL five times at random moments and resumed each
# time, then run once more to its end. From the jobs the rig captured it
# counts how many good documents printed never, once, or more than once,
# how many jobs came out of list order, how many of the faulty entries the
# runs named, and how many entries in doubt a resumed run found in the queue. Figures are printed as "name: value unit" lines.
#
#   bench/journal_soak.sh [N]
#
# TAVIMARK_BINARY names the program (default build/bin/tavimark beside this
# script's repository). The script ends only the processes it started: each
# run it killed, and its own rig.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
count=${1:-10000}
kills=5
binary=${TAVIMARK_BINARY:-$root/build/bin/tavimark}
[[ $count =~ ^[0-9]+$ && $count -ge 50 ]] || { echo "usage: $0 [N]   (N documents, at least 50)" >&2; exit 64; }
[[ -x $binary ]] || { echo "journal_soak: no program at $binary (build it, or set TAVIMARK_BINARY)" >&2; exit 2; }

work=$(mktemp -d /tmp/journal-soak.XXXXXX)
rig=$work/rig
run_pid=
cleanup() {
    if [[ -n $run_pid ]] && kill -0 "$run_pid" 2>/dev/null; then
        kill -9 "$run_pid" 2>/dev/null || true
        wait "$run_pid" 2>/dev/null || true
    fi
    "$root/tests/rig/rig.sh" stop "$rig" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# The documents, and the list: every 50th entry names a file that is not there.
mkdir -p "$work/docs"
awk -v n="$count" -v dir="$work/docs" 'BEGIN {
    for (i = 1; i <= n; i++) {
        name = sprintf("%s/doc-%06d.html", dir, i)
        if (i % 50 == 0) {
            print dir "/missing-" i ".html" > (dir "/../list.txt")
            continue
        }
        printf "<title>Document %d</title><p>Page %d</p>\n", i, i > name
        close(name)
        print name > (dir "/../list.txt")
    }
}'
list=$work/list.txt
journal=$work/run.journal
log=$work/runs.log

"$root/tests/rig/rig.sh" start "$rig" >/dev/null
server=$(cat "$rig/server")
export CUPS_SERVER=$server QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"

# The jobs the journal shows going out so far.
submitted() {
    if [[ -f $journal ]]; then
        grep -c '"event":"submitting"' "$journal" || true
    else
        echo 0
    fi
}

start_run() {
    "$binary" --print --journal "$journal" --list "$list" >/dev/null 2>>"$log" &
    run_pid=$!
}

started=$(date +%s.%N)
killed=0
for ((round = 1; round <= kills; round++)); do
    before=$(submitted)
    left=$((count - before))
    # A random number of jobs into this run, then a random fraction of a
    # second more: the kill lands anywhere in a job's way out.
    goal=$((before + 1 + RANDOM % (left / (kills + 1) + 1)))
    start_run
    echo "--- run $round" >>"$log"
    while kill -0 "$run_pid" 2>/dev/null && (($(submitted) < goal)); do
        sleep 0.05
    done
    sleep "0.$((RANDOM % 300))"
    if kill -9 "$run_pid" 2>/dev/null; then
        killed=$((killed + 1))
    fi
    wait "$run_pid" 2>/dev/null || true
    run_pid=
done
echo "--- last run" >>"$log"
start_run
status=0
wait "$run_pid" || status=$?
run_pid=
seconds=$(awk -v started="$started" -v ended="$(date +%s.%N)" 'BEGIN { printf "%.1f", ended - started }')

# Every job out of the rig's queue before the jobs are counted.
for _ in $(seq 600); do
    [[ -z $(lpstat -h "$server" -o 2>/dev/null) ]] && break
    sleep 0.1
done

# Each captured job's title is its entry; its place in the list says whether
# the jobs came in order.
find "$rig/jobs" -name 'job-*.title' | sort | xargs -r awk 'FNR == 1' | awk -v list="$list" '
    BEGIN {
        while ((getline line < list) > 0) {
            index_of[line] = ++entries
            if (line !~ /missing-/) good[line] = 1
        }
    }
    {
        times[$0]++
        place = index_of[$0]
        if (place > 0 && place < last) disorder++
        if (place > last) last = place
    }
    END {
        for (entry in good) {
            if (times[entry] == 0) never++
            else if (times[entry] == 1) once++
            else more++
        }
        printf "soak_good_printed_never: %d docs\n", never
        printf "soak_good_printed_once: %d docs\n", once
        printf "soak_good_printed_more: %d docs\n", more
        printf "soak_jobs_out_of_order: %d jobs\n", disorder
    }'

faults=$((count / 50))
named=$(grep -o 'not printed (file not found): .*missing-[0-9]*\.html' "$log" | sed 's/.*: //' | sort -u | wc -l)
last_doubts=$(sed -n '/^--- last run/,$p' "$log" | grep -c 'may have printed (journal)' || true)
found=$(grep -c '(found in the queue)' "$log" || true)
echo "soak_documents: $count docs"
echo "soak_kills: $killed kills"
echo "soak_faults_in_list: $faults entries"
echo "soak_faults_named: $named entries"
echo "soak_found_in_queue: $found entries"
echo "soak_last_run_may_have_printed: $last_doubts entries"
echo "soak_last_run_exit: $status status"
echo "soak_seconds: $seconds s"
