#!/usr/bin/env bash
# Every benchmark in one run, printed as one table: figure, median (wall and
# CPU for the Google Benchmark programs), target, and the ratio to the
# baseline measured in the same run where there is one. Absolute times on a
# shared machine drift from run to run; ratios from one run do not.
#
#   bench/run-all.sh [BUILD_DIR]      (default build/, configured with -DKEYLOOM_BENCH=ON)
#
# Each program runs 5 short repetitions; the window figures (Xvfb) 5 starts.
# The load average before and after is printed with the table.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
benches="$build/bench"
[[ -d $benches ]] || { echo "run-all.sh: no $benches (configure with -DKEYLOOM_BENCH=ON)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
unset KEYLOOM_TRACE

# Minimum time per repetition; the slow sequences need a few iterations each.
min_time_for() {
    case $1 in
        bench_connection_read | bench_profile_file | bench_lighting | bench_key_dialog_open | \
            bench_preview_tick) echo 0.3 ;;
        *) echo 0.05 ;;
    esac
}

# Target of a figure, by program and benchmark name ("" when none is set).
target_for() {
    case "$1/$2" in
        bench_hidraw_exchange/BM_HidrawExchange | bench_hidraw_exchange/BM_DeviceLinkExchange)
            echo "ratio <= 1.2" ;;
        bench_connection_read/BM_ConnectionChangeAndFullRead) echo "CPU <= 5 ms" ;;
        bench_profile_file/BM_SaveProfileFile | bench_profile_file/BM_LoadProfileFile) echo "<= 20 ms" ;;
        bench_lighting/BM_BaseColourRepaint) echo "<= 10 ms" ;;
        bench_lighting/BM_LoadUserMode) echo "<= 2 ms" ;;
        bench_key_names/BM_NamesOfAllKeys*) echo "well under 2 ms" ;;
        bench_text_lookup/BM_LookupText) echo "<= 10 us" ;;
        bench_text_lookup/BM_AllKeyNames) echo "<= 2 ms" ;;
        bench_preview_frame/PreviewFrame) echo "well under 20 us" ;;
        bench_preview_tick/BM_PreviewTick/1) echo "<= 1 ms" ;;
        bench_bus_forward/BM_ForwardedCall) echo "<= BM_CommandOnCore + 5 ms" ;;
        *) echo "" ;;
    esac
}

# Baseline of a figure in the same program, if it has one.
baseline_for() {
    case "$1/$2" in
        bench_hidraw_exchange/BM_HidrawExchange | bench_hidraw_exchange/BM_DeviceLinkExchange)
            echo BM_BareExchange ;;
        bench_bus_forward/BM_ForwardedCall | bench_bus_forward/BM_KeyloomctlProcess)
            echo BM_CommandOnCore ;;
        *) echo "" ;;
    esac
}

# Median rows of one program as "name wall cpu unit", the /real_time suffix
# dropped; PreviewFrame (one row per effect) is folded into its slowest effect.
medians() {
    awk -F, '
        /_median"?,/ {
            name = $1; gsub(/"/, "", name)
            sub(/_median$/, "", name); sub(/\/real_time$/, "", name); sub(/\/repeats:[0-9]+$/, "", name)
            sub(/\/min_time:[0-9.]+$/, "", name)
            if (name ~ /^PreviewFrame\//) {
                if ($3 > pfWall) { pfWall = $3; pfCpu = $4; pfUnit = $5; pfName = name }
                next
            }
            print name, $3, $4, $5
        }
        END { if (pfName != "") print "PreviewFrame", pfWall, pfCpu, pfUnit, pfName }'
}

# Three significant digits, never in exponent form.
number() { awk -v v="$1" 'BEGIN {printf (v >= 100 ? "%.0f" : v >= 10 ? "%.1f" : "%.3g"), v}'; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
rows="$work/rows"
: >"$rows"
for program in "$benches"/bench_*; do
    name=$(basename "$program")
    # One-shot window programs: window_startup.sh runs them.
    [[ -x $program && $name != bench_startup_watch && $name != bench_panel_first_show ]] || continue
    # The forwarded command needs a session bus: a private one of its own.
    runner=()
    if [[ $name == bench_bus_forward ]]; then
        command -v dbus-run-session >/dev/null || { echo "$name|skipped (needs dbus-run-session)||" >>"$rows"; continue; }
        runner=(dbus-run-session --)
    fi
    if ! "${runner[@]}" "$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_min_time="$(min_time_for "$name")" --benchmark_min_warmup_time=0.02 \
        --benchmark_format=csv >"$work/$name.csv" 2>"$work/$name.err"; then
        echo "$name|failed: $(tail -n 1 "$work/$name.err")||" >>"$rows"
        continue
    fi
    medians <"$work/$name.csv" >"$work/$name.medians"
    while read -r figure wall cpu unit extra; do
        base=$(baseline_for "$name" "$figure")
        ratio=""
        if [[ -n $base ]]; then
            ratio=$(awk -v f="$base" -v w="$wall" -v c="$cpu" '$1 == f {printf "wall %.2f, CPU %.2f", w / $2, c / $3}' \
                "$work/$name.medians")
        fi
        label="$name: $figure${extra:+ (slowest: ${extra#PreviewFrame/})}"
        printf '%s|%s / %s %s|%s|%s\n' "$label" "$(number "$wall")" "$(number "$cpu")" \
            "$unit" "$(target_for "$name" "$figure")" "$ratio" >>"$rows"
    done <"$work/$name.medians"
done

if [[ -x $build/bin/keyloom && -x $build/bin/bench_bare_window && -x $benches/bench_startup_watch ]] &&
    command -v Xvfb >/dev/null; then
    "$here/window/window_startup.sh" "$build" 5 10 >>"$rows" 2>"$work/window.err" ||
        echo "window figures|failed: $(tail -n 1 "$work/window.err")||" >>"$rows"
else
    echo "window figures|skipped (needs keyloom, bench_bare_window, bench_startup_watch and Xvfb)||" >>"$rows"
fi

{
    echo "figure|median (wall / CPU)|target|ratio to baseline, same run"
    cat "$rows"
} | column -t -s '|'
echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"
