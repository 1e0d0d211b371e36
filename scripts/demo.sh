#!/usr/bin/env bash
# Installs what is needed, builds Zelvo and runs its main job on the embedded default data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
zelvo="$root/build/bin/zelvo"
echo "\$ zelvo -?"
"$zelvo" -?
