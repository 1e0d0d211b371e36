#!/usr/bin/env bash
# Installs what is needed, builds Zelvo and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
cd "$root/build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 900
