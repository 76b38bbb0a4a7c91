#!/usr/bin/env bash
# Installs what is missing, builds Keyloom and runs it. Without a supported
# keyboard plugged in it runs against the simulated keyboard, whose memory is
# kept in the data folder between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${KEYLOOM_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target keyloomctl

ctl="$build/bin/keyloomctl"
if "$ctl" list >/dev/null 2>&1; then
    exec "$ctl" "$@" info
fi
data="${XDG_DATA_HOME:-$HOME/.local/share}/ORVK_Keyboard"
mkdir -p "$data"
echo "No supported keyboard found: using the simulated keyboard (state in $data/simulated-keyboard.state)."
exec "$ctl" --simulate "0c45:652f:$data/simulated-keyboard.state" "$@" info
