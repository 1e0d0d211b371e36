#!/usr/bin/env bash
# The Debian package, checked as a user and Debian's tools see it. One step per CTest test:
#   package_test.sh STEP BUILD_DIR SOURCE_DIR VERSION HTML_HELP(ON|OFF)
# "build" makes the package from the already-built tree (cpack) and unpacks it; the other steps
# read what it left in BUILD_DIR/package-test. A step whose tool is absent exits 77 (skipped) and
# says which Debian package brings it.
set -euo pipefail
step=$1 build=$2 source=$3 version=$4 html_help=$5
work="$build/package-test"
root="$work/root"

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }
# A tool that scripts/install-deps.sh installs: its absence fails the step under the test command
# (ZELVO_REQUIRE_ORACLES=1), and skips it elsewhere.
need() {
    command -v "$1" >/dev/null && return
    local why="$1 is absent (Debian package $2, installed by scripts/install-deps.sh)"
    if [ "${ZELVO_REQUIRE_ORACLES:-}" = 1 ]; then fail "$why"; else skip "$why"; fi
}
package() { ls "$work"/zelvo_*.deb 2>/dev/null | head -1; }
# The options "zelvo --help" lists, one a line.
help_options() { "$root/usr/bin/zelvo" --help | sed -n 's/^  \(-[^ ]*\).*/\1/p'; }
# Whether a text holds an option as a word of its own.
holds_option() { grep -qP -- "(?<![\\w-])\\Q$2\\E(?![\\w-])" <<<"$1"; }

case $step in
build)
    need dpkg-deb dpkg
    rm -rf "$work"
    mkdir -p "$work"
    cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack could not build the package"; }
    deb=$(package)
    [ -n "$deb" ] || fail "cpack made no .deb"
    dpkg-deb -x "$deb" "$root"
    echo "built $(basename "$deb")"
    ;;

metadata)
    deb=$(package)
    info=$(dpkg-deb -I "$deb")
    echo "$info"
    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = zelvo ] || fail "Package is not zelvo"
    [ "$(field Version)" = "$version" ] || fail "Version is not the project's $version"
    [ "$(field Section)" = science ] || fail "Section is not science"
    [ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture"
    # proj-data for the grids, and what the executable links (found by dpkg-shlibdeps).
    depends=$(field Depends)
    names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
    for d in proj-data qt6-translations-l10n libc6 libstdc++6 libtinyxml2 libtiff libfmt; do
        awk -v d="$d" 'index($0, d) == 1 { found = 1 } END { exit !found }' <<<"$names" || fail "Depends lacks $d: $depends"
    done
    [[ ", $(field Recommends)," == *", xdg-utils,"* ]] || fail "Recommends lacks xdg-utils: $(field Recommends)"
    [[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "Maintainer is not 'Name <address>'"
    description=$(field Description)
    [ "$(wc -l <<<"$description")" -ge 3 ] || fail "the Description has no long text"
    ;;

contents)
    deb=$(package)
    listing=$(dpkg-deb -c "$deb")
    paths=$(awk '{print $6}' <<<"$listing")
    required=(
        ./usr/bin/zelvo ./usr/lib/zelvo/window/libzelvo_window.so
        ./usr/share/zelvo/zelvo.ini ./usr/share/zelvo/catalogue.dat ./usr/share/zelvo/exemples/ntf_lambert2e.txt
        ./usr/share/zelvo/ntf_r93.xml ./usr/share/zelvo/egm96_15.xml ./usr/share/zelvo/BETA2007.xml
        ./usr/share/zelvo/nzgd2kgrid0005.xml
        ./usr/share/applications/zelvo.desktop
        ./usr/share/icons/hicolor/scalable/apps/zelvo.svg
        ./usr/share/man/man1/zelvo.1.gz
        ./usr/share/metainfo/fr.zelvo.zelvo.metainfo.xml
        ./usr/share/doc/zelvo/copyright ./usr/share/doc/zelvo/changelog.gz
    )
    for size in 16 32 48 64 128 256; do required+=("./usr/share/icons/hicolor/${size}x${size}/apps/zelvo.png"); done
    [ "$html_help" = ON ] && required+=(./usr/share/zelvo/zelvo.html)
    for p in "${required[@]}"; do grep -qxF -- "$p" <<<"$paths" || fail "the package lacks $p"; done
    ! grep -E '^\./usr/share/zelvo/icons' <<<"$paths" || fail "the icons are installed into the data folder too"
    ! grep -vE '^\./(usr/)?$|^\./usr/' <<<"$paths" || fail "files outside /usr"
    ! awk '$2 != "root/root"' <<<"$listing" | grep . || fail "files not owned by root"
    # Each PNG is as large as its folder says (width and height from its header).
    for size in 16 32 48 64 128 256; do
        png="$root/usr/share/icons/hicolor/${size}x${size}/apps/zelvo.png"
        read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
        [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "$png is ${w}x${h}"
    done
    echo "$(wc -l <<<"$paths") entries, every expected file present"
    ;;

desktop-entry)
    need desktop-file-validate desktop-file-utils
    entry="$root/usr/share/applications/zelvo.desktop"
    said=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate refuses $entry: $said"
    [ -z "$said" ] || fail "desktop-file-validate has something to say: $said"
    # One main category (Science), with Geography as an additional one.
    grep -qx 'Categories=Science;Geography;' "$entry" || fail "Categories"
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not in the package"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon has no SVG in the package"
    echo "desktop entry valid"
    ;;

appstream)
    need appstreamcli appstream
    metainfo="$root/usr/share/metainfo/fr.zelvo.zelvo.metainfo.xml"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses $metainfo"
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    [ -f "$root/usr/share/applications/$launchable" ] || fail "the launchable $launchable is not in the package"
    ;;

manual-page)
    need man man-db
    page="$root/usr/share/man/man1/zelvo.1.gz"
    rendered=$(MANWIDTH=100 LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$page" 2>"$work/man.err") ||
        fail "man could not render the page"
    [ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "man warns about the page"; }
    # In the C locale too, where only ASCII can be written.
    LC_ALL=C MANWIDTH=100 man --warnings -l "$page" >/dev/null 2>"$work/man.err" || fail "man could not render the page in C"
    [ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "man warns about the page in the C locale"; }
    # Every option of "zelvo --help", and every option and exit code of the README, is in it.
    described=$(sed -n '/^OPTIONS/,/^[A-Z]/p' <<<"$rendered")
    options=$(help_options)
    [ -n "$options" ] || fail "zelvo --help lists no option"
    readme_options=$(sed -n '/^## Using it/,/^## /p' "$source/README.md" | grep '^| `-' | cut -d'|' -f2 |
        grep -oE '(^|[` ])-[A-Za-z0-9?]+' | tr -d '` ')
    for option in $options $readme_options; do
        holds_option "$described" "$option" || fail "the manual page's OPTIONS do not describe $option"
    done
    for option in $readme_options; do
        holds_option "$options" "$option" || fail "zelvo --help does not list the README's $option"
    done
    readme_codes=$(sed -n '/^Exit codes:/,/^#/p' "$source/README.md" | sed -n 's/^- \([0-9]\+\) .*/\1/p' | sort)
    page_codes=$(sed -n '/^CODE DE SORTIE/,/^[A-Z]/p' <<<"$rendered" | sed -n 's/^ \{7\}\([0-9]\+\) .*/\1/p' | sort)
    [ -n "$readme_codes" ] && [ "$readme_codes" = "$page_codes" ] ||
        fail "exit codes differ: README $(echo $readme_codes), manual page $(echo $page_codes)"
    echo "manual page renders cleanly; $(wc -w <<<"$options") options and exit codes $(echo $page_codes) described"
    ;;

lintian)
    need lintian lintian
    deb=$(package)
    status=0
    timeout 600 lintian --fail-on error,warning --tag-display-limit 0 --display-info "$deb" 2>&1 | grep -v 'root privileges' ||
        status=${PIPESTATUS[0]}
    [ "$status" -ne 124 ] || skip "lintian ran out of time"
    [ "$status" -eq 0 ] || fail "lintian reports errors or warnings"
    ;;

installed-run)
    # The unpacked program, run as after an install: from another folder, a fresh home, no
    # configuration but the installed default.
    home=$(mktemp -d) && folder=$(mktemp -d)
    trap 'rm -rf "$home" "$folder"' EXIT
    ini="$root/usr/share/zelvo/zelvo.ini"
    before=$(md5sum <"$ini")
    run() { (cd "$folder" && env -u ALLUSERSPROFILE -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$home" \
        XDG_CONFIG_DIRS="$home/none" "$root/usr/bin/zelvo" "$@" </dev/null); }
    [ "$(run --version)" = "Zelvo $version" ] || fail "zelvo --version: $(run --version)"
    out=$(run -type 1 -mode 0 -sys1 2 -sys2 1 -typcoor1 3 6 -typcoor2 3 9 -E 814149.529 -N 1887019.768 2>&1)
    grep -qF "860690.522 6319037.047" <<<"$out" || fail "the default data did not transform the point: $out"
    [ "$(md5sum <"$ini")" = "$before" ] || fail "the installed configuration was written"
    # The window's file mode starts on the example file of the default data.
    for section in Standard Grille; do
        name=$(tr -d '\r' <"$ini" | sed -n "/^\[$section\]/,/^\[/s/^Fichier de départ=//p")
        folder_of=$(tr -d '\r' <"$ini" | sed -n "/^\[$section\]/,/^\[/s/^Path de départ=//p")
        [ -f "$(dirname "$ini")/$folder_of$name" ] || fail "[$section] names no example file: '$folder_of$name'"
    done
    [ ! -e "$home/.config/Zelvo" ] || fail "a console run made a user configuration"
    # Without arguments it loads its window library, whose window mode says there is no display.
    status=0
    out=$( (cd "$folder" && env -u ALLUSERSPROFILE -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u DISPLAY -u WAYLAND_DISPLAY \
        -u QT_QPA_PLATFORM HOME="$home" XDG_CONFIG_DIRS="$home/none" "$root/usr/bin/zelvo" </dev/null) 2>&1) || status=$?
    [ "$status" -eq 1 ] || fail "zelvo alone without a display ended with $status: $out"
    grep -qF "aucun affichage graphique" <<<"$out" || fail "zelvo alone did not load its window library: $out"
    echo "runs on its default data from $folder"
    ;;

*) fail "unknown step $step" ;;
esac
