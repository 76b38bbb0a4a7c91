#!/usr/bin/env bash
# Installs a built Keyloom package with apt into a clean Debian 12 root made
# with debootstrap, runs both programs there, validates the installed menu
# entry and metainfo, purges the package and checks that none of its files is
# left. Needs root and debootstrap. The mirror is KEYLOOM_MIRROR, else the
# first one the machine's apt sources name; without one, or when it does not
# answer, the test is skipped (exit 0) and says why.
# The bare root and the packages apt fetched are kept in KEYLOOM_CACHE
# (default ~/.cache/keyloom), so later runs need not download them again.
# Usage: scripts/package-chroot-test.sh PACKAGE.deb
set -euo pipefail
package=$(realpath "$1")
suite=bookworm

mirror=${KEYLOOM_MIRROR:-}
if [ -z "$mirror" ]; then
    mirror=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' /etc/apt/sources.list.d/*.sources \
        2>/dev/null | head -n 1)
fi
if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
    # deb [options] URI suite components
    mirror=$(sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\).*/\2/p' \
        /etc/apt/sources.list | head -n 1)
fi
if [ -z "$mirror" ]; then
    echo "clean-root install test SKIPPED: no KEYLOOM_MIRROR and no mirror in the apt sources"
    exit 0
fi
if ! wget -q -T 20 -t 2 -O /dev/null "$mirror/dists/$suite/Release"; then
    echo "clean-root install test SKIPPED: the mirror does not answer for $suite"
    exit 0
fi

cache=${KEYLOOM_CACHE:-$HOME/.cache/keyloom}
mkdir -p "$cache/archives/partial"
# The bare root is keyed by what makes it; it is made anew after a week, so
# the packages it starts with do not grow stale.
key=$(printf '%s %s minbase %s' "$suite" "$(dpkg --print-architecture)" "$mirror" | sha256sum | cut -c1-16)
base="$cache/root-$key.tar.gz"
find "$cache" -maxdepth 1 -name 'root-*.tar.gz' -mtime +7 -delete

root=$(mktemp -d)
cleanup() {
    for mount in var/cache/apt/archives dev/pts dev proc; do umount "$root/$mount" 2>/dev/null || true; done
    rm -rf "$root"
}
trap cleanup EXIT
start=$(date +%s)
if [ -f "$base" ]; then
    tar -xzf "$base" -C "$root"
else
    debootstrap --variant=minbase "$suite" "$root" "$mirror"
    tar -czf "$base.tmp" -C "$root" . && mv "$base.tmp" "$base"
fi
echo "bare root ready in $(( $(date +%s) - start )) s"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
cp "$package" "$root/tmp/"
in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive HOME=/tmp/home LC_ALL=C.UTF-8 "$@"; }
mkdir -p "$root/tmp/home"
in_root apt-get update -qq
# Everything the package asks for, recommendations too, must be there to
# have; the install itself takes only what it depends on, so a library the
# programs need but the package does not name fails below.
in_root sh -c 'cd /tmp && apt-get install -s -qq ./keyloom_*.deb' >/dev/null
in_root sh -c 'cd /tmp && apt-get install -y -qq --no-install-recommends ./keyloom_*.deb'
in_root dpkg -L keyloom > "$root/tmp/keyloom.files"

in_root keyloomctl --simulate 0c45:652f info
# The window program started offscreen, ended by a second start with --kill.
in_root env QT_QPA_PLATFORM=offscreen keyloom --simulate 0c45:652f:/tmp/home/sim.state \
    > "$root/tmp/keyloom.out" 2>&1 &
first=$!
sleep 5
if ! kill -0 "$first" 2>/dev/null; then
    echo "keyloom ended before --kill:"; cat "$root/tmp/keyloom.out"; exit 1
fi
in_root env QT_QPA_PLATFORM=offscreen timeout 30 keyloom --kill
for _ in $(seq 60); do
    kill -0 "$first" 2>/dev/null || break
    sleep 0.5
done
if kill -0 "$first" 2>/dev/null; then
    kill "$first"; echo "keyloom still runs after --kill"; exit 1
fi
wait "$first" || { echo "keyloom ended with a failure:"; cat "$root/tmp/keyloom.out"; exit 1; }

in_root apt-get install -y -qq --no-install-recommends desktop-file-utils appstream >/dev/null
in_root desktop-file-validate /usr/share/applications/keyloom.desktop
in_root appstreamcli validate --no-net /usr/share/metainfo/io.github.keyloom.Keyloom.metainfo.xml

in_root apt-get purge -y -qq keyloom
# What is left of the package's paths must be a folder another package owns.
left=0
while read -r path; do
    [ "$path" = /. ] && continue
    [ -e "$root$path" ] || [ -L "$root$path" ] || continue
    if [ -d "$root$path" ] && [ ! -L "$root$path" ] && in_root dpkg -S "$path" >/dev/null 2>&1; then
        continue
    fi
    echo "left after purge: $path"
    left=1
done < "$root/tmp/keyloom.files"
[ "$left" -eq 0 ]
echo "install test passed in $(( $(date +%s) - start )) s"
