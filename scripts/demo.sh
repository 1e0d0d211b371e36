#!/usr/bin/env bash
# Installs what is needed, builds Zelvo and runs its main job on the embedded default data:
# the example point file, NTF Lambert II étendu, transformed to RGF93 Lambert 93.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
zelvo="$root/build/bin/zelvo"
data="$root/build/share/zelvo"
out_dir="${ZELVO_DEMO_DIR:-$root/build/demo}"
mkdir -p "$out_dir"
arrival="$out_dir/rgf93_lambert93.txt"
echo "\$ zelvo -v -type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 <exemples>/ntf_lambert2e.txt -typcoor2 3 9 -f2 1 $arrival"
(cd "$out_dir" && "$zelvo" -v -type 1 -mode 1 -sys1 2 -sys2 1 -typcoor1 3 6 -f1 1 "$data/exemples/ntf_lambert2e.txt" \
    -typcoor2 3 9 -f2 1 "$arrival")
echo
echo "Fichier d'arrivée : $arrival"
iconv -f ISO-8859-1 -t UTF-8 "$arrival" | tr -d '\r'
