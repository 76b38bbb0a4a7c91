#!/usr/bin/env bash
# Start-up, settled memory and idle CPU of the keyloom window program against a
# bare Qt program showing one window of the same size, measured in the same
# run on a private Xvfb server. Needs a build with -DKEYLOOM_BENCH=ON (default
# build/) and Xvfb.
#
#   bench/window/window_startup.sh [BUILD_DIR] [RUNS] [IDLE_SECONDS] [PREVIEW_SECONDS]
#
# keyloom runs a normal start against the simulated keyboard with its report
# trace on. bench_startup_watch starts each program and stamps, from outside:
#   shown       the X server maps the program's main window (keyloom opens it
#               at the first connection, after the full read);
#   full read   from the first request to the keyboard to the reply that ends
#               the full read (the End after the third lighting record, offset
#               84). The simulated keyboard answers at once, so this span is
#               the protocol's fixed pauses (10 ms before End and command 12)
#               plus the host's own time; the latter is reported.
# Each start is repeated on a simulated wire as slow as real full-speed USB
# (KEYLOOM_SIM_REPORT_US=1000: every report sent and received takes 1 ms), so
# "shown" can be set against the wire time of the full read.
# After the last start it also measures, PREVIEW_SECONDS each (default 30):
#   the bare window idle, as the reference for the two figures below;
#   keyloom with the lighting view switched on (xdotool clicks its switch),
#               the preview running;
#   keyloom started hidden in the tray (--start), connected. (Closing the
#               window would end it: Xvfb has no tray to live in.)
# With bench_panel_first_show beside bench_startup_watch, each start also
# times the lighting panel in a window of its own: built at its first use, and
# the lighting view first switched on until painted, with the memory each adds
# (its share of the settled memory, and of keyloom's memory over the bare
# window's).
# Prints one table row per figure: "figure|median|target|ratio".
set -euo pipefail
# Without a session bus, each keyloom start has D-Bus autolaunch one through
# the X server, which fails and in time leaves the server refusing clients:
# the whole run gets a private bus instead.
if [[ -z ${DBUS_SESSION_BUS_ADDRESS:-} ]] && command -v dbus-run-session >/dev/null; then
    exec dbus-run-session -- "$0" "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
fi
build=${1:-build}
runs=${2:-5}
idle_seconds=${3:-10}
preview_seconds=${4:-30}
bin="$build/bin"
watch="$build/bench/bench_startup_watch"
panel="$build/bench/bench_panel_first_show"
command -v xdotool >/dev/null || { echo "window_startup.sh: xdotool is missing" >&2; exit 2; }
for program in "$bin/keyloom" "$bin/bench_bare_window" "$watch"; do
    [[ -x $program ]] || { echo "window_startup.sh: $program is missing" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "window_startup.sh: Xvfb is missing" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM KEYLOOM_TRACE

# Xvfb picks a free display and writes its number to the descriptor.
exec {display_fd}>"$work/display"
Xvfb -displayfd "$display_fd" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for ((i = 0; i < 500; i++)); do [[ -s $work/display ]] && break; sleep 0.01; done
exec {display_fd}>&-
[[ -s $work/display ]] || { echo "window_startup.sh: Xvfb did not start" >&2; exit 2; }
export DISPLAY=":$(cat "$work/display")"

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
field() { awk -v k="$1" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}'; }
rss_kb() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}'; }
stop() {
    kill "$program_pid" 2>/dev/null || true
    # Bounded: the program is no child of this shell, and may stay a zombie.
    for ((w = 0; w < 200; w++)); do
        [[ $(awk '{print $3}' "/proc/$program_pid/stat" 2>/dev/null || echo Z) == Z ]] && break
        sleep 0.01
    done
    program_pid=
}

bare_shown=() keyloom_shown=() bare_rss=() keyloom_rss=() host_beyond=() read_span=()
first_request=() read_to_shown=() longest_wait=() wire_shown=() wire_read_span=() wire_read_to_shown=()
panel_build_ms=() panel_build_kb=() view_on_ms=() view_on_kb=() panel_settled_kb=()
exchanges= pauses= idle_cpu= idle_wakeups=
# CPU (% of a core) and wake-ups (voluntary switches per second) of
# $program_pid over $1 seconds, as "cpu wakeups".
load_over() {
    local t0 sw0 t1 sw1
    t0=$(cpu_ticks "$program_pid") sw0=$(switches "$program_pid")
    sleep "$1"
    t1=$(cpu_ticks "$program_pid") sw1=$(switches "$program_pid")
    awk -v t=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" -v s="$1" -v w=$((sw1 - sw0)) \
        'BEGIN {printf "%.2f %.1f", 100 * t / hz / s, w / s}'
}
# Clicks the centre of a control of the main window, placed as in Main.ini.
click_control() {
    local place x y w h
    place=$(sed -n "s/^$1=//p" "$bin/Skins/Main.ini" | tr -d '\r')
    IFS=, read -r x y w h <<<"$place"
    xdotool mousemove --window "$2" $((x + w / 2)) $((y + h / 2)) click 1
}
for ((i = 0; i < runs; i++)); do
    line=$("$watch" -- "$bin/bench_bare_window")
    program_pid=$(field pid <<<"$line")
    bare_shown+=("$(field shown_ms <<<"$line")")
    sleep 2
    bare_rss+=("$(rss_kb "$program_pid")")
    if ((i == runs - 1)); then
        read -r bare_cpu bare_wakeups <<<"$(load_over "$preview_seconds")"
    fi
    stop

    rm -f "$work/trace.txt"
    line=$(KEYLOOM_SIM_REPORT_US=1000 "$watch" --trace "$work/trace.txt" -- \
        "$bin/keyloom" --simulate 0c45:652f --trace "$work/trace.txt")
    program_pid=$(field pid <<<"$line")
    wire_shown+=("$(field shown_ms <<<"$line")")
    wire_read_span+=("$(awk -v a="$(field read_done_ms <<<"$line")" \
        -v b="$(field first_report_ms <<<"$line")" 'BEGIN {printf "%.2f", a - b}')")
    wire_read_to_shown+=("$(awk -v a="$(field shown_ms <<<"$line")" -v b="$(field read_done_ms <<<"$line")" \
        'BEGIN {printf "%.2f", a - b}')")
    stop

    rm -f "$work/trace.txt"
    line=$("$watch" --trace "$work/trace.txt" -- \
        "$bin/keyloom" --simulate 0c45:652f --trace "$work/trace.txt")
    program_pid=$(field pid <<<"$line")
    keyloom_shown+=("$(field shown_ms <<<"$line")")
    exchanges=$(field exchanges <<<"$line")
    pauses=$(field pauses <<<"$line")
    span=$(awk -v a="$(field read_done_ms <<<"$line")" -v b="$(field first_report_ms <<<"$line")" \
        'BEGIN {printf "%.2f", a - b}')
    read_span+=("$span")
    first_request+=("$(field first_report_ms <<<"$line")")
    longest_wait+=("$(field longest_wait_ms <<<"$line")")
    read_to_shown+=("$(awk -v a="$(field shown_ms <<<"$line")" -v b="$(field read_done_ms <<<"$line")" \
        'BEGIN {printf "%.2f", a - b}')")
    host_beyond+=("$(awk -v s="$span" -v p="$pauses" 'BEGIN {printf "%.2f", s - 10 * p}')")
    sleep 2
    keyloom_rss+=("$(rss_kb "$program_pid")")
    if ((i == runs - 1)); then
        # Idle: connected, window shown, nothing happening.
        ticks0=$(cpu_ticks "$program_pid") sw0=$(switches "$program_pid")
        sleep "$idle_seconds"
        ticks1=$(cpu_ticks "$program_pid") sw1=$(switches "$program_pid")
        idle_cpu=$(awk -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" -v s="$idle_seconds" \
            'BEGIN {printf "%.2f", 100 * t / hz / s}')
        idle_wakeups=$(((sw1 - sw0) / idle_seconds))

        main_window=$(xdotool search --all --pid "$program_pid" --name Keyloom | head -n 1)
        click_control CONTROL_DengStaPic "$main_window"
        sleep 1
        read -r preview_cpu preview_wakeups <<<"$(load_over "$preview_seconds")"
    fi
    stop

    if [[ -x $panel ]]; then
        line=$("$panel" 2>"$work/panel.err") ||
            { echo "window_startup.sh: $(tail -n 1 "$work/panel.err")" >&2; exit 1; }
        panel_build_ms+=("$(field build_ms <<<"$line")")
        panel_build_kb+=("$(field build_kb <<<"$line")")
        view_on_ms+=("$(field view_on_ms <<<"$line")")
        view_on_kb+=("$(field view_on_kb <<<"$line")")
        panel_settled_kb+=("$(field settled_kb <<<"$line")")
    fi
done

"$bin/keyloom" --simulate 0c45:652f --start >/dev/null 2>&1 &
program_pid=$!
sleep 3
read -r hidden_cpu hidden_wakeups <<<"$(load_over "$preview_seconds")"
stop

bs=$(printf '%s\n' "${bare_shown[@]}" | median)
ks=$(printf '%s\n' "${keyloom_shown[@]}" | median)
br=$(printf '%s\n' "${bare_rss[@]}" | median)
kr=$(printf '%s\n' "${keyloom_rss[@]}" | median)
rs=$(printf '%s\n' "${read_span[@]}" | median)
hb=$(printf '%s\n' "${host_beyond[@]}" | median)
fr=$(printf '%s\n' "${first_request[@]}" | median)
rts=$(printf '%s\n' "${read_to_shown[@]}" | median)
lw=$(printf '%s\n' "${longest_wait[@]}" | median)
ws=$(printf '%s\n' "${wire_shown[@]}" | median)
wrs=$(printf '%s\n' "${wire_read_span[@]}" | median)
wrts=$(printf '%s\n' "${wire_read_to_shown[@]}" | median)
# Wire time of the full read: a request and a reply of 1 ms per exchange,
# and the protocol's pauses, which no host can shorten.
wire_ms=$((2 * exchanges + 10 * pauses))
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
echo "window: bare Qt window shown|${bs} ms||"
echo "window: keyloom main window shown|${ks} ms||$(ratio "$ks" "$bs")"
# Host time: the window shown less the protocol's required pauses.
host_ms=$(awk -v s="$ks" -v p="$pauses" 'BEGIN {printf "%.2f", s - 10 * p}')
echo "window: keyloom start-up host time|${host_ms} ms|ratio <= 1.5|$(ratio "$host_ms" "$bs")"
echo "window: keyloom main window shown, 1000 us a report|${ws} ms|<= ${wire_ms} ms wire and pauses + 1.5x bare|$(awk -v s="$ws" -v w="$wire_ms" -v b="$bs" 'BEGIN {printf "%.2f", (s - w) / b}')"
echo "window: connect + full read on the 1000 us wire, first request to last reply|${wrs} ms|${wire_ms} ms of wire time and pauses|"
echo "window: keyloom start to first request|${fr} ms||"
echo "window: keyloom end of full read to window shown|${rts} ms|<= 5 ms|"
echo "window: keyloom end of full read to window shown, 1000 us a report|${wrts} ms|<= 5 ms|"
echo "window: connect + full read, first request to last reply|${rs} ms|${exchanges} exchanges + ${pauses} x 10 ms|"
echo "window: connect + full read, host time beyond the pauses|${hb} ms|<= 15 ms|"
echo "window: connect + full read, longest single wait in it|${lw} ms|<= 2 ms|"
echo "window: bare Qt window settled memory|$((br / 1024)) MB||"
echo "window: keyloom settled memory|$((kr / 1024)) MB|ratio <= 1.4|$(ratio "$kr" "$br")"
echo "window: keyloom idle CPU (${idle_seconds} s)|${idle_cpu} % of a core|<= 0.5 %|"
echo "window: keyloom idle wake-ups|${idle_wakeups} /s||"
echo "window: bare Qt window idle CPU (${preview_seconds} s)|${bare_cpu} % of a core||"
echo "window: bare Qt window idle wake-ups|${bare_wakeups} /s||"
echo "window: keyloom lighting preview running, CPU (${preview_seconds} s)|${preview_cpu} % of a core|<= 3 %|"
echo "window: keyloom lighting preview running, wake-ups|${preview_wakeups} /s||"
echo "window: keyloom hidden in the tray, CPU (${preview_seconds} s)|${hidden_cpu} % of a core|<= 0.05 %|"
echo "window: keyloom hidden in the tray, wake-ups|${hidden_wakeups} /s|<= 2 /s|"
if ((${#panel_build_ms[@]} > 0)); then
    pb=$(printf '%s\n' "${panel_build_ms[@]}" | median)
    pv=$(printf '%s\n' "${view_on_ms[@]}" | median)
    pk=$(printf '%s\n' "${panel_build_kb[@]}" | median)
    vk=$(printf '%s\n' "${view_on_kb[@]}" | median)
    ps=$(printf '%s\n' "${panel_settled_kb[@]}" | median)
    echo "window: lighting panel built at first use|${pb} ms||"
    echo "window: lighting view first switched on, until painted|${pv} ms||"
    echo "window: lighting panel memory, built + view on|$(awk -v a="$pk" -v b="$vk" 'BEGIN {printf "%.1f + %.1f MB", a / 1024, b / 1024}')||"
    echo "window: lighting panel share of the settled memory|$(awk -v a="$pk" -v b="$vk" -v s="$ps" 'BEGIN {printf "%.1f %%", 100 * (a + b) / s}')||"
    echo "window: lighting panel share of keyloom's memory over the bare window|$(awk -v a="$pk" -v b="$vk" -v k="$kr" -v r="$br" 'BEGIN {printf (k > r ? "%.0f %%" : "n/a"), 100 * (a + b) / (k - r)}')||"
fi
