#!/usr/bin/env bash
# Start-up time, settled memory and idle CPU of the keyloom window program
# against a bare Qt program showing one window of the same size, measured in
# the same run. Needs a build with -DKEYLOOM_BENCH=ON (default build/).
#
#   bench/window/window_startup.sh [BUILD_DIR] [RUNS]
#
# keyloom runs against the simulated keyboard, offscreen, with its report
# trace on: it counts as ready when the first full read after connection has
# read the three lighting records (the third record read, at offset 84,
# answered) — the window is then initialised and connected.
set -euo pipefail
build=${1:-build}
runs=${2:-5}
bin="$build/bin"
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

now_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
rss_kb() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { awk '/voluntary_ctxt_switches/ {s += $2} END {print s}' "/proc/$1/status"; }

# The machine's load decides how far apart the two programs' times lie:
# report it with the results.
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
bare_times=() keyloom_times=() bare_rss=() keyloom_rss=()
for ((i = 0; i < runs; i++)); do
    start=$(now_ms)
    "$bin/bench_bare_window" >"$work/bare.out" &
    pid=$!
    until grep -q ready "$work/bare.out" 2>/dev/null; do sleep 0.002; done
    bare_times+=($(( $(now_ms) - start )))
    sleep 2
    bare_rss+=($(rss_kb $pid))
    kill $pid; wait $pid 2>/dev/null || true

    rm -f "$work/trace.txt"
    start=$(now_ms)
    "$bin/keyloom" --simulate 0c45:652f --trace "$work/trace.txt" &
    pid=$!
    # The reply to the third lighting-record read: "< 04" ... command 05 at offset 84 (0x54).
    until grep -qE '^< 04.{4}05..5400' "$work/trace.txt" 2>/dev/null; do sleep 0.002; done
    keyloom_times+=($(( $(now_ms) - start )))
    sleep 2
    keyloom_rss+=($(rss_kb $pid))
    if ((i == runs - 1)); then
        # Idle: hidden in the tray (no window was opened offscreen), connected,
        # nothing happening, for 30 s.
        ticks0=$(cpu_ticks $pid) sw0=$(switches $pid)
        sleep 30
        ticks1=$(cpu_ticks $pid) sw1=$(switches $pid)
        hz=$(getconf CLK_TCK)
        idle_cpu=$(awk -v t=$((ticks1 - ticks0)) -v hz=$hz 'BEGIN {printf "%.2f", 100 * t / hz / 30}')
        idle_wakeups=$(( (sw1 - sw0) / 30 ))
    fi
    kill $pid; wait $pid 2>/dev/null || true
done

bt=$(printf '%s\n' "${bare_times[@]}" | median)
kt=$(printf '%s\n' "${keyloom_times[@]}" | median)
br=$(printf '%s\n' "${bare_rss[@]}" | median)
kr=$(printf '%s\n' "${keyloom_rss[@]}" | median)
echo "start-up to ready (median of $runs): keyloom ${kt} ms, bare Qt window ${bt} ms, ratio $(awk -v a=$kt -v b=$bt 'BEGIN {printf "%.2f", a / b}') (target <= 1.5)"
echo "settled resident memory: keyloom ${kr} kB, bare Qt window ${br} kB, ratio $(awk -v a=$kr -v b=$br 'BEGIN {printf "%.2f", a / b}') (target <= 1.5)"
echo "idle for 30 s: ${idle_cpu} % of one core (target <= 0.5), ${idle_wakeups} voluntary wake-ups per second (presence test 10/s + preview timer 20/s)"
echo "load average before: ${load_before}, after: $(cut -d' ' -f1-3 /proc/loadavg)"
