#!/usr/bin/env bash
# Installs the Debian packages Zelvo needs to build, run, test and package (the package tools:
# dpkg-dev, desktop-file-utils, appstream, lintian, man-db, groff for the HTML help, librsvg2-bin
# for scripts/render-icons.sh; strace and GNU time, with which the tests watch a console run), and
# the French locale the locale tests run under. Does nothing
# when everything is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    libgtest-dev libgmock-dev libbenchmark-dev
    libsimpleini-dev libicu-dev libtinyxml2-dev libfmt-dev libutfcpp-dev libtiff-dev libsqlite3-dev
    proj-bin proj-data gdal-bin locales python3
    qt6-base-dev qt6-translations-l10n fonts-liberation
    xvfb xauth xdotool x11-utils strace time
    dpkg-dev desktop-file-utils appstream lintian man-db groff-base librsvg2-bin
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installation des paquets : ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
    as_root sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
fi
