#!/usr/bin/env bash
# Runs the soak program for MINUTES with SEED (default: a fresh one, printed):
#   tests/soak/run-long.sh MINUTES [SEED]
# The build folder is $KEYLOOM_BUILD (default: build); the program is built
# there first.
set -euo pipefail
cd "$(dirname "$0")/../.."
minutes=${1:?usage: run-long.sh MINUTES [SEED]}
seed=${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
build=${KEYLOOM_BUILD:-build}
cmake --build "$build" --target keyloom_soak >/dev/null
echo "soak: $minutes min, seed $seed"
exec "$build/tests/keyloom_soak" "$((minutes * 60))" "$seed"
