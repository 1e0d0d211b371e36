#!/usr/bin/env bash
# Every #include "folder/..." of the sources under the root given points to the same layer or to
# one below it. The layers, from the bottom: platform, resources, catalogue, grids, geodesy, files,
# app, ui. Prints each upward include as file:line: include, and fails when there is one.
set -euo pipefail
root=${1:?usage: layer_includes.sh source-root}
layers=(platform resources catalogue grids geodesy files app ui)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

upward=0
for layer in "${layers[@]}"; do
    [ -d "$root/$layer" ] || continue
    while IFS=: read -r file line text; do
        included=${text#*\"}
        included=${included%%\"*}
        target=${included%%/*}
        [ -n "${rank[$target]+set}" ] || continue
        if [ "${rank[$target]}" -gt "${rank[$layer]}" ]; then
            echo "${file#"$root"/}:$line: $included (the layer $layer includes the layer $target above it)"
            upward=1
        fi
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "$root/$layer" \
                 --include='*.cpp' --include='*.hpp' || true)
done
exit $upward
