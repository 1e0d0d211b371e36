#!/usr/bin/env bash
# Renders the program's icon (data/icons/hicolor/scalable/apps/zelvo.svg) into the PNG sizes of
# the hicolor theme, beside it. Run after changing the SVG; the PNGs are committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
icons="$root/data/icons/hicolor"
for size in 16 32 48 64 128 256; do
    mkdir -p "$icons/${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" "$icons/scalable/apps/zelvo.svg" \
        --output "$icons/${size}x${size}/apps/zelvo.png"
done
