#!/usr/bin/env bash
# Configures and builds Zelvo in the folder given (default: build), with warnings as errors.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVO_WERROR=ON "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
