#!/usr/bin/env bash
# Runs the programs of a sanitizer build against a simulated keyboard whose
# memory persists between the runs: keyloomctl through its commands, or
# keyloom started offscreen, sent OPEN and KILL by second starts. A sanitizer
# report ends a program with an unexpected exit code, which fails this run.
#   .ci/sanitized-programs.sh BUILD_DIR keyloomctl|keyloom
set -uo pipefail
build=${1:?usage: sanitized-programs.sh BUILD_DIR keyloomctl|keyloom}
which=${2:-keyloomctl}
ctl="$build/bin/keyloomctl"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
runs=0

if [ "$which" = keyloom ]; then
    export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$work/runtime"
    app=("$build/bin/keyloom" --simulate "0c45:652f:$work/sim.state" --data-dir "$work/data")
    "${app[@]}" >"$work/first.out" 2>&1 &
    first=$!
    sleep 5
    for request in open kill; do
        runs=$((runs + 1))
        args=()
        [ "$request" = kill ] && args=(--kill)
        if ! timeout 30 "${app[@]}" "${args[@]}" >"$work/second.out" 2>&1; then
            failures=$((failures + 1))
            echo "keyloom ${args[*]}: the second start failed"
            tail -n 30 "$work/second.out"
        fi
        sleep 2
    done
    # KILL ends the first instance; it must end cleanly and soon.
    for _ in $(seq 60); do
        kill -0 "$first" 2>/dev/null || break
        sleep 0.5
    done
    if kill -0 "$first" 2>/dev/null; then
        kill "$first"
        echo "keyloom: still running after KILL"
        failures=$((failures + 1))
    fi
    wait "$first"
    code=$?
    runs=$((runs + 1))
    if [ "$code" -ne 0 ]; then
        failures=$((failures + 1))
        echo "keyloom: exit $code"
        tail -n 40 "$work/first.out"
    fi
    echo "keyloom: $runs runs, $failures failed"
    [ "$failures" -eq 0 ]
    exit
fi

# expect CODE ARGS...: runs keyloomctl and checks its exit code.
expect() {
    local want=$1
    shift
    runs=$((runs + 1))
    "$ctl" --simulate "0c45:652f:$work/sim.state" --data-dir "$work/data" "$@" \
        >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" -ne "$want" ]; then
        failures=$((failures + 1))
        echo "keyloomctl $*: exit $got, expected $want"
        tail -n 30 "$work/err"
    fi
}

printf 'not a profile file' >"$work/broken.klm"
expect 0 list
expect 0 info
expect 0 dump-device
expect 0 dump-device --json
expect 0 backup "$work/backup.klm"
expect 0 validate "$work/backup.klm"
expect 1 validate "$work/broken.klm"
expect 0 show
expect 0 show "$work/backup.klm" --json
expect 0 profile
expect 0 profile 2
expect 0 assign A "key:Left Ctrl"
expect 0 assign Esc media:3
expect 0 macro set 1 Greeting A+20 A-20
expect 0 macro list
expect 0 assign B macro:1:2
expect 0 macro delete 1
expect 0 report-rate
expect 0 report-rate 2
expect 0 profiles --json
expect 0 preview 3 --frames 5
expect 0 watch --for 1
expect 0 default
expect 0 restore "$work/backup.klm"
expect 1 restore "$work/broken.klm"
expect 2 assign NoSuchKey default

echo "keyloomctl: $runs runs, $failures failed"
[ "$failures" -eq 0 ]
