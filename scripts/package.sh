#!/usr/bin/env bash
# Builds the Debian package of Zelvo: installs what is needed, builds in the folder given
# (default: build), makes the .deb there with cpack and has lintian check it: an error or a
# warning of lintian fails the script.
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
# Errors and warnings fail the package (lintian's note about running as root is left out).
status=0
lintian --fail-on error,warning --display-info "$deb" 2>&1 | { grep -v 'root privileges' || true; } ||
    status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || { echo "lintian refuse le paquet." >&2; exit 1; }
