#!/usr/bin/env bash
# Installs what is missing, builds Keyloom and runs it. Without a supported
# keyboard plugged in it runs against the simulated keyboard, whose memory is
# kept in the data folder between runs. Without a display it prints the
# keyboard's summary with keyloomctl instead of opening the window.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${KEYLOOM_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target keyloomctl keyloom

ctl="$build/bin/keyloomctl"
simulate=()
if ! "$ctl" list >/dev/null 2>&1; then
    # The program creates and seeds the data folder on its first run.
    data="${XDG_DATA_HOME:-$HOME/.local/share}/ORVK_Keyboard"
    echo "No supported keyboard found: using the simulated keyboard (state in $data/simulated-keyboard.state)."
    simulate=(--simulate "0c45:652f:$data/simulated-keyboard.state")
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): showing the keyboard with keyloomctl info instead of the window."
    exec "$ctl" "${simulate[@]}" "$@" info
fi
exec "$build/bin/keyloom" "${simulate[@]}" "$@"
