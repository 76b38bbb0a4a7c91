#!/usr/bin/env bash
# Installs a built Keyloom package into a clean Debian 12 root made with
# debootstrap and runs the installed programs there. Needs root and a
# Debian mirror (KEYLOOM_MIRROR, required).
# Usage: scripts/package-chroot-test.sh PACKAGE.deb
set -euo pipefail
package=$(realpath "$1")
mirror=${KEYLOOM_MIRROR:?set KEYLOOM_MIRROR to a Debian 12 mirror}
root=$(mktemp -d)
cleanup() {
    for mount in proc dev; do umount "$root/$mount" 2>/dev/null || true; done
    rm -rf "$root"
}
trap cleanup EXIT
start=$(date +%s)
debootstrap --variant=minbase bookworm "$root" "$mirror"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
cp "$package" "$root/tmp/keyloom.deb"
chroot "$root" apt-get update -qq
# apt resolves the package's dependencies from the mirror.
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/keyloom.deb
chroot "$root" keyloomctl --simulate 0c45:652f info
chroot "$root" env QT_QPA_PLATFORM=offscreen keyloom --version
echo "install test passed in $(( $(date +%s) - start )) s"
