#!/usr/bin/env bash
# Starts the real program under Xvfb with the embedded default data and writes pictures of its
# windows into build/screenshots/: the main window on each tab, the about box, and the progress
# window of the start-up grid check (made to appear with a large text grid added to a copy of
# the default data). Then the transformation pages, driven through their controls by the page
# test on the same display: each page in each coordinate type, results in each arrival type,
# and file mode, a projected result in US survey feet, a refused entry with its empty results, an
# interrupted file run, a question box and a file dialog in French; then every page again at 150 %
# scale (names ending in "-x1.5"). The display is ZELVO_DISPLAY when set (":125"), else a
# free-looking one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
zelvo="$root/build/bin/zelvo"
capture="$root/build/bin/window_capture"
out="$root/build/screenshots"
mkdir -p "$out"
rm -f "$out"/*.png

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -CONT "$pid" 2>/dev/null || true; kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

display=${ZELVO_DISPLAY:-:$((90 + RANDOM % 100))}
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
unset WAYLAND_DISPLAY QT_QPA_PLATFORM ALLUSERSPROFILE

# The id of the visible window with this title, once it is there.
window_of() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
shoot() {
    sleep 0.5
    "$capture" "$1" "$out/$2.png"
    echo "$out/$2.png"
}

# The main window and the about box, on the embedded default data. The program is ended without
# quitting, so that the default data's settings are not written.
mkdir -p "$work/run" "$work/none"
(cd "$work/run" && XDG_CONFIG_HOME="$work/none" XDG_CONFIG_DIRS="$work/none" exec "$zelvo") &
pids+=($!)
main=$(window_of "Zelvo - transformation")
xdotool windowfocus --sync "$main"
shoot "$main" main-tab0-presentation
xdotool key Right
shoot "$main" main-tab1-standard
xdotool key Right
shoot "$main" main-tab2-grille
xdotool key Left Left ctrl+F1
about=$(window_of "A propos de Zelvo")
shoot "$about" about-box
kill "${pids[-1]}"

# The progress window: the default data with a large text grid, whose binary version start-up
# makes. The program is paused while its picture is taken.
mkdir -p "$work/profile/Zelvo"
cp "$root/data/zelvo.ini" "$work/profile/Zelvo/"
cp "$root/data/catalogue.dat" "$work/profile/Zelvo/"
python3 - "$work/profile/Zelvo" <<'PY'
import sys
folder = sys.argv[1]
cols, rows = 6000, 3000
with open(folder + "/grande_grille.mnt", "w", newline="") as f:
    f.write("0 299.95 -75 74.95 0.05 0.05 4 0 1 0 0\r\n")
    row = " ".join(str(i % 97) for i in range(cols)) + "\r\n"
    f.writelines(row for _ in range(rows))
with open(folder + "/grande_grille.xml", "w") as f:
    f.write("<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>")
with open(folder + "/catalogue.dat", "ab") as f:
    f.write(b"GR1D grande_grille.mnt 1 1\r\n")
PY
(cd "$work/run" && ALLUSERSPROFILE="$work/profile" exec "$zelvo") &
pid=$!
pids+=("$pid")
progress=""
for _ in $(seq 400); do
    progress=$(xdotool search --onlyvisible --name "Zelvo - transformation" 2>/dev/null | head -n 1 || true)
    [ -n "$progress" ] && break
    sleep 0.01
done
if [ -n "$progress" ]; then
    sleep 0.2
    kill -STOP "$pid"
    "$capture" "$progress" "$out/progress-window.png" && echo "$out/progress-window.png"
    kill -CONT "$pid"
else
    echo "La fenêtre de progression n'est pas apparue." >&2
    exit 1
fi

# The transformation pages, on the real display, in French; then at 150 % scale.
pages="$root/build/bin/test_ui_transformation_page_test"
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
ZELVO_PICTURES_DIR="$out" QT_QPA_PLATFORM=xcb "$pages" pictures annulerStopsAFileRun >/dev/null
ZELVO_PICTURES_DIR="$out" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1.5 "$pages" pictures >/dev/null
ls "$out"/page-*.png "$out"/result-*.png "$out"/file-mode*.png "$out"/refused-entry*.png \
    "$out"/file-run-interrupted.png "$out"/question-box*.png "$out"/file-dialog*.png
