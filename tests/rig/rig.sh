#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The print test rig: a private CUPS scheduler on a free port of 127.0.0.1
# whose queues' backend saves each job's bytes. It has its own
# configuration, spool, cache, state and log folders under DIR and never
# touches the machine's own scheduler or queues. Its queues all save into
# the same jobs folder:
#
#   Rig      raw, the default
#   Hall     raw, a second queue to choose by name
#   Duplex   with duplex.ppd: Letter (default) and A4, one- or two-sided on
#            either edge, color (default) or gray. The scheduler offers these
#            as media, sides and print-color-mode, and the PDF still reaches
#            the backend unchanged.
#   Paused   raw, stopped: it takes jobs and holds them until started
#            (cupsenable -h SERVER Paused)
#   Office   with duplex.ppd made to default to A4 (its media-default is
#            iso_a4_210x297mm), as a printer sold where A4 is the paper
#
# A job whose title holds "abort-this-job" fails in the backend, and the
# queue aborts it. The scheduler keeps its job history, so what became of a
# job can be asked after it is done, and logs every request in
# log/access_log.
#
#   rig.sh start DIR   starts it; DIR/server then holds "127.0.0.1:PORT" for
#                      CUPS_SERVER and DIR/jobs receives job-NNNNNN.pdf with
#                      job-NNNNNN.title and job-NNNNNN.options beside it
#   rig.sh restart DIR starts it again on the same address, its jobs forgotten
#   rig.sh stop DIR    stops it; nothing is left running
#
# job-NNNNNN.options holds "queue=NAME" and "copies=N", then each option the
# scheduler passed the backend, one name=value a line, as it passed them:
# media as the client named it (A4 or iso_a4_210x297mm), and for Duplex the
# PPD's own choices too (PageSize=A4, Duplex=DuplexNoTumble, ColorModel=Gray).
#
# RIG_CUPSD_EXTRA, when set, is appended to the scheduler's configuration
# (for example "MaxRequestSize 100k", to make it refuse large jobs).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
command=${1:-}
dir=${2:-}
[[ -n $command && -n $dir ]] || { echo "usage: $0 start|stop|restart DIR" >&2; exit 2; }
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

stop() {
    [[ -f $dir/cupsd.pid ]] || return 0
    local pid
    pid=$(cat "$dir/cupsd.pid")
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
    fi
    rm -f "$dir/cupsd.pid" "$dir/server"
}

# A port nobody listens on. Bash itself tries to connect, so the rig needs
# no other tool to find one.
free_port() {
    local port
    for _ in $(seq 100); do
        port=$((20000 + RANDOM % 40000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return 0
        fi
    done
    return 1
}

# One queue of printers.conf, saving into the jobs folder. Duplex and Office
# have a PPD (conf/ppd/NAME.ppd), which is all the scheduler needs to offer its
# options; the others are raw.
queue() {
    local tag=$1 name=$2 info=$3 state=${4:-Idle}
    cat <<CONF
<$tag $name>
Info $info
DeviceURI capture:$dir/jobs
State $state
StateTime 0
Accepting Yes
Shared No
JobSheets none none
QuotaPeriod 0
PageLimit 0
KLimit 0
OpPolicy default
ErrorPolicy abort-job
</$tag>
CONF
}

start() {
    stop
    rm -rf "$dir/conf" "$dir/spool" "$dir/cache" "$dir/state" "$dir/tmp" "$dir/log" "$dir/serverbin" "$dir/jobs"
    mkdir -p "$dir/conf" "$dir/spool/tmp" "$dir/cache" "$dir/state/certs" "$dir/tmp" "$dir/log" "$dir/jobs" "$dir/serverbin/backend"
    for entry in /usr/lib/cups/*; do
        [[ $(basename "$entry") == backend ]] || ln -s "$entry" "$dir/serverbin/$(basename "$entry")"
    done
    # cupsd runs a backend as root only when root owns it with mode 0700;
    # writable modes are refused as insecure.
    install -m 0700 "$here/capture" "$dir/serverbin/backend/capture"

    local port
    port=${RIG_PORT:-$(free_port)}
    cat > "$dir/conf/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
DefaultPaperSize A4
MaxJobs 0
PreserveJobHistory Yes
AccessLogLevel all
PreserveJobFiles No
${RIG_CUPSD_EXTRA:-}
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    cat > "$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ServerBin $dir/serverbin
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice No
User lp
Group lp
SystemGroup root
CONF
    mkdir -p "$dir/conf/ppd"
    install -m 0644 "$here/duplex.ppd" "$dir/conf/ppd/Duplex.ppd"
    sed -e 's/^\*Default\(PageSize\|PageRegion\|ImageableArea\|PaperDimension\): Letter$/*Default\1: A4/' \
        -e 's/Test Rig Duplex/Test Rig Office/' "$here/duplex.ppd" > "$dir/conf/ppd/Office.ppd"
    chmod 0644 "$dir/conf/ppd/Office.ppd"
    {
        queue DefaultPrinter Rig "Print test rig"
        queue Printer Hall "Print test rig, second queue"
        queue Printer Duplex "Print test rig with two-sided printing"
        queue Printer Paused "Print test rig, stopped" Stopped
        queue Printer Office "Print test rig whose paper is A4"
    } > "$dir/conf/printers.conf"
    # The scheduler drops to lp for its spool and state files.
    if [[ $(id -u) -eq 0 ]]; then
        chgrp -R lp "$dir/conf" "$dir/spool" "$dir/cache" "$dir/state" "$dir/tmp" "$dir/log" "$dir/jobs"
        chmod -R g+rwX "$dir/conf" "$dir/spool" "$dir/cache" "$dir/state" "$dir/tmp" "$dir/log" "$dir/jobs"
    fi

    cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" </dev/null >"$dir/log/cupsd.out" 2>&1 &
    local pid=$!
    echo "$pid" > "$dir/cupsd.pid"
    for _ in $(seq 100); do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "the rig's scheduler exited at start:" >&2
            cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
            rm -f "$dir/cupsd.pid"
            return 1
        fi
        if lpstat -h "127.0.0.1:$port" -r 2>/dev/null | grep -q 'is running'; then
            echo "127.0.0.1:$port" > "$dir/server"
            echo "print rig up at 127.0.0.1:$port, jobs in $dir/jobs"
            return 0
        fi
        sleep 0.1
    done
    echo "the rig's scheduler did not answer in time" >&2
    stop
    return 1
}

# A scheduler that comes back on the same address having forgotten every
# job, as one whose state was lost does.
restart() {
    local server
    server=$(cat "$dir/server")
    RIG_PORT=${server##*:} start
}

case $command in
    start) start ;;
    stop) stop ;;
    restart) restart ;;
    *) echo "usage: $0 start|stop|restart DIR" >&2; exit 2 ;;
esac
