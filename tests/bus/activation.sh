#!/bin/sh
# Calling the name on a session bus where no Keyloom runs starts
# "keyloom --start" from the service file the package installs; without a
# keyboard the started program answers NoKeyboard. Usage: activation.sh BINDIR SOURCEDIR
set -eu
bin=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/services" "$work/run"
chmod 700 "$work/run"
sed "s|@KEYLOOM_BINDIR@|$bin|" "$src/packaging/dbus/io.github.keyloom.Keyloom.service.in" \
    >"$work/services/io.github.keyloom.Keyloom.service"
cat >"$work/session.conf" <<EOF
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=$work</listen>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data"
dbus-run-session --config-file="$work/session.conf" -- sh -c '
    answer=$(dbus-send --session --print-reply --reply-timeout=30000 \
        --dest=io.github.keyloom.Keyloom /io/github/keyloom/Keyloom \
        io.github.keyloom.Keyloom1.SetActiveProfile int32:2 2>&1 || true)
    timeout 20 "$0/keyloom" --kill >/dev/null 2>&1 || true
    echo "$answer"
    echo "$answer" | grep -q "io.github.keyloom.Error.NoKeyboard"
' "$bin"
