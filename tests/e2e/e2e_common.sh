# shellcheck shell=bash
# What the whole-program scripts share; sourced by them, which define fail().

# Waits (at most $2 seconds) until the process $1 has ended, then sets $status to its exit
# code; fails, naming what it waited after ($3, else the time), when it is still running.
await_end() {
    local pid=$1 limit=$(($2 * 10)) after=${3:-$2 s}
    for ((i = 0; i < limit; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the program still runs after $after"
    wait "$pid"
    # shellcheck disable=SC2034 # read by the scripts that source this file
    status=$?
}
