#!/usr/bin/env bash
# A private CUPS server for print tests: its own cupsd, run as the current user (root), with
# its configuration, spool, cache, state and logs in a temp folder, listening only on a Unix
# socket there, with one cups-pdf queue "QuendalPDF" as its default printer. The system's
# own cupsd and its socket are never touched.
#
# As a command:
#   cups_server.sh run PDF_FOLDER [--wait SECONDS] -- COMMAND [ARG...]
#       starts the server (removing the PDFs PDF_FOLDER holds), runs COMMAND with
#       CUPS_SERVER pointing at it and QUENDAL_CUPS_PDFS naming PDF_FOLDER, waits (at most
#       SECONDS, 60 by default) until every job has left the queue, lists the PDFs in
#       PDF_FOLDER (one whole path a line, on stdout), stops the server and exits with
#       COMMAND's exit code; 77 when cupsd or cups-pdf is not installed or the user is not
#       root, 1 when the server cannot start or a job is still queued after the wait.
#   cups_server.sh wait-idle SECONDS     (inside a run) waits until the queue is empty
#   cups_server.sh pdfs                  (inside a run) lists the PDFs written so far
# Sourced, it gives cups_start PDF_FOLDER, cups_wait_idle SECONDS, cups_pdfs and cups_stop;
# cups_start exports CUPS_SERVER and QUENDAL_CUPS_PDFS and, unless the script has an EXIT
# trap already (whose cleanup must then call cups_stop), sets one that stops the server.
#
# cups-pdf reads its settings from /etc/cups/cups-pdf-<name>.conf for the device URI
# cups-pdf:/<name>; that one file, with a name of its own per server, is the only thing
# written outside the temp folder, and it goes away with the server.

CUPS_QUEUE=QuendalPDF
cups_root=
cups_pid=
cups_pdf_conf=

cups_log() { echo "cups_server: $*" >&2; }

# Waits (at most $1 seconds) until the command in the remaining arguments succeeds.
cups_poll() {
    local limit=$(($1 * 10)) i
    shift
    for ((i = 0; i < limit; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

cups_stop() {
    if [ -n "$cups_pid" ]; then
        kill "$cups_pid" 2>/dev/null
        cups_poll 10 bash -c "! kill -0 $cups_pid" || kill -9 "$cups_pid" 2>/dev/null
        wait "$cups_pid" 2>/dev/null
        cups_pid=
    fi
    [ -n "$cups_pdf_conf" ] && rm -f "$cups_pdf_conf"
    cups_pdf_conf=
    [ -n "$cups_root" ] && rm -rf "$cups_root"
    cups_root=
    unset CUPS_SERVER QUENDAL_CUPS_PDFS
}

# Starts the server; cups-pdf writes its PDFs into $1 (made when missing, its PDFs from
# before removed), named after the job's title and number: "Statistik-job_1.pdf",
# "Grafik_user1-job_2.pdf" (TitlePref 1: the job's title, since cups-pdf reads the title in
# the PostScript with stray bytes after it). Returns 77 when cupsd or cups-pdf is not
# installed or the user is not root, 1 when the server does not come up within 30 s.
cups_start() {
    local pdfs=$1
    local cupsd lpadmin backend=/usr/lib/cups/backend/cups-pdf
    local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
    cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
    lpadmin=$(command -v lpadmin || echo /usr/sbin/lpadmin)
    if [ ! -x "$cupsd" ] || [ ! -x "$lpadmin" ] || [ ! -x "$backend" ] || [ ! -f "$ppd" ]; then
        cups_log "cupsd, lpadmin or cups-pdf is not installed"
        return 77
    fi
    # cups-pdf runs as root only, and its settings live in /etc/cups.
    if [ ! -w /etc/cups ]; then
        cups_log "the private CUPS server needs root (to write /etc/cups/cups-pdf-*.conf)"
        return 77
    fi
    mkdir -p "$pdfs" || return 1
    pdfs=$(cd "$pdfs" && pwd)
    # cups-pdf replaces a file of the same name, so that a PDF found later is surely new.
    find "$pdfs" -maxdepth 1 -name '*.pdf' -type f -delete
    cups_root=$(mktemp -d /tmp/quendal-cups.XXXXXX) || return 1
    # A script that has an EXIT trap of its own calls cups_stop from it.
    [ -n "$(trap -p EXIT)" ] || trap cups_stop EXIT
    # Filters run as the user lp and must reach the spool below.
    chmod 755 "$cups_root"
    local r=$cups_root
    mkdir -p "$r/conf/ppd" "$r/spool/tmp" "$r/cache" "$r/state" "$r/log" "$r/pdf-spool"
    chmod 1777 "$r/pdf-spool"
    cat >"$r/cups-files.conf" <<CONF
ServerRoot $r/conf
RequestRoot $r/spool
TempDir $r/spool/tmp
CacheDir $r/cache
StateDir $r/state
ErrorLog $r/log/error_log
AccessLog $r/log/access_log
PageLog $r/log/page_log
SystemGroup root
FileDevice No
CONF
    cat >"$r/conf/cupsd.conf" <<CONF
Listen $r/cups.sock
Browsing No
BrowseLocalProtocols none
WebInterface No
LogLevel info
MaxLogSize 0
DefaultAuthType None
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
    local name
    name=quendal-$(basename "$r" | cut -d. -f2)
    cups_pdf_conf=/etc/cups/cups-pdf-$name.conf
    cat >"$cups_pdf_conf" <<CONF
Out $pdfs
AnonDirName $pdfs
Spool $r/pdf-spool
Log $r/log/pdf
LogType 3
TitlePref 1
Label 2
Grp root
CONF
    "$cupsd" -f -c "$r/conf/cupsd.conf" -s "$r/cups-files.conf" >"$r/log/cupsd.out" 2>&1 &
    cups_pid=$!
    export CUPS_SERVER=$r/cups.sock QUENDAL_CUPS_PDFS=$pdfs
    # Prints go to the queue, not into a folder.
    unset LPDEST PRINTER QUENDAL_PRINT_TO_PDF
    # lpstat -r succeeds also while the socket is not there yet; its text tells.
    if ! cups_poll 30 bash -c 'lpstat -r | grep -q "scheduler is running"'; then
        cups_log "cupsd did not start:"
        cat "$r/log/cupsd.out" "$r/log/error_log" >&2 2>/dev/null
        return 1
    fi
    # The PDF of a print reaches cups-pdf as PostScript; poppler's cairo renderer keeps the
    # text readable for pdftotext (Ghostscript's leaves glyphs without their letters, and
    # poppler's pdftops renderer now and then an empty text layer).
    # "Printer drivers are deprecated" from lpadmin is only a notice.
    if ! "$lpadmin" -p "$CUPS_QUEUE" -E -v "cups-pdf:/$name" -P "$ppd" ||
        ! "$lpadmin" -p "$CUPS_QUEUE" -o pdftops-renderer-default=pdftocairo ||
        ! "$lpadmin" -d "$CUPS_QUEUE" ||
        ! cups_poll 30 bash -c "lpstat -a $CUPS_QUEUE | grep -q accepting"; then
        cups_log "the queue $CUPS_QUEUE cannot be set up"
        cat "$r/log/error_log" >&2 2>/dev/null
        return 1
    fi
}

# Waits (at most $1 seconds) until the server answers and has no job left in the queue:
# cups-pdf has then finished every file.
cups_wait_idle() {
    # shellcheck disable=SC2016 # $jobs belongs to the inner shell
    cups_poll "$1" bash -c 'jobs=$(lpstat -o '"$CUPS_QUEUE"') && [ -z "$jobs" ]'
}

# The PDFs cups-pdf wrote, one path a line.
cups_pdfs() {
    [ -n "${QUENDAL_CUPS_PDFS-}" ] || return 0
    find "$QUENDAL_CUPS_PDFS" -maxdepth 1 -name '*.pdf' -type f | sort
}

cups_usage() {
    echo "usage: $0 run PDF_FOLDER [--wait SECONDS] -- COMMAND [ARG...]" >&2
    echo "       $0 wait-idle SECONDS | pdfs    (inside a run)" >&2
    return 2
}

cups_main() {
    case "${1-}" in
    wait-idle)
        [ $# -eq 2 ] && [ -n "${CUPS_SERVER-}" ] || cups_usage || return
        cups_wait_idle "$2"
        return
        ;;
    pdfs)
        cups_pdfs
        return
        ;;
    run) [ $# -ge 4 ] || cups_usage || return ;;
    *) cups_usage || return ;;
    esac
    local pdfs=$2 wait=60
    shift 2
    if [ "$1" = --wait ]; then
        wait=$2
        shift 2
    fi
    [ "$1" = -- ] && shift
    cups_start "$pdfs" || return $?
    local status=0
    "$@" || status=$?
    if ! cups_wait_idle "$wait"; then
        cups_log "jobs still queued after $wait s:"
        lpstat -o >&2
        cat "$cups_root/log/error_log" >&2 2>/dev/null
        [ "$status" -eq 0 ] && status=1
    fi
    cups_pdfs
    cups_stop
    return "$status"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -uo pipefail
    trap 'exit 143' TERM INT # so that the EXIT trap stops the server
    cups_main "$@"
    exit $?
fi
