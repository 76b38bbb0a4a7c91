#!/bin/bash
# Starts the window on a private X server with a simulated keyboard, its
# lighting view off and then on, and has a screen-reader client walk it
# (unnamed_controls.py). Run it under dbus-run-session; exits 77 (skipped)
# when Xvfb, the accessibility bus or pyatspi is missing.
set -u
program=$1
script=$(dirname "$0")/unnamed_controls.py
for tool in Xvfb /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "pyatspi is missing"; exit 77; }
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "no session bus: run under dbus-run-session"; exit 77; }

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { kill $server; echo "no X server"; exit 77; }
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

status=0
for view in 0 1; do
    data=$work/data$view
    mkdir -p "$data"
    printf '[KEYCOLOR]\nDengCheck=%s\n' "$view" >"$data/tzkb.ini"
    "$program" --simulate 0c45:652f --data-dir "$data" &
    window=$!
    echo "lighting view $view:"
    /usr/bin/python3 "$script" keyloom || status=1
    kill $window; wait $window 2>/dev/null
done
kill $server
rm -rf "$work"
exit $status
