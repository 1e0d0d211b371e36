#!/usr/bin/env bash
# Builds the Debian package of Zelvo: installs what is needed, builds in the folder given
# (default: build), makes the .deb there with cpack and has lintian check it.
#   scripts/package.sh [build folder]
# Install it with: sudo apt install ./build/zelvo_<version>_<architecture>.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build"
(cd "$build" && cpack -G DEB -B "$build" >/dev/null)
deb=$(ls -t "$build"/zelvo_*.deb | head -1)
echo "Paquet : $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends
lintian --fail-on error --display-info "$deb" 2>&1 | grep -v 'root privileges' || true
