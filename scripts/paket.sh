#!/usr/bin/env bash
# Builds the Debian package kalmet_<version>_amd64.deb (in build/), checks it with lintian (no
# errors, no hardening tags) and runs the unpacked kalmet-demo, kalmet print and kalmet book on a
# fresh demo database.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

pakete_installieren "${BASIS_PAKETE[@]}" dpkg-dev lintian poppler-utils
dauer Pakete
bauen build
cmake --build build --target package >/dev/null
paket=$(ls build/kalmet_*_amd64.deb)
dauer Paket
echo "lintian $paket:"
lintian --fail-on error --tag-display-limit 0 "$paket" || { echo "lintian meldet Fehler" >&2; exit 1; }
# the release build's hardening flags: none of lintian's hardening tags
if lintian --tags hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-pie,hardening-no-relro "$paket" | grep .; then
  echo "dem Paket fehlen Härtungs-Flags" >&2
  exit 1
fi

probe=$(mktemp -d /tmp/kalmet-paket.XXXXXX)
trap 'rm -rf "$probe"' EXIT
dpkg -x "$paket" "$probe/wurzel"
bin=$probe/wurzel/usr/bin
db=sqlite:$probe/demo.db
"$bin/kalmet-demo" --db "$db" --today 2026-12-08 >/dev/null
# the templates come from the unpacked tree, found beside the executable
"$bin/kalmet" print --db "$db" --user demo --fiscal-year 2026-02-01 --status 3 --layout kalme003.rpt --pdf "$probe/liste.pdf"
pdftotext "$probe/liste.pdf" - | grep -q "Summe Bericht" || { echo "die Liste des Pakets ist leer" >&2; exit 1; }
# a branch without storage locations: its differences are booked
"$bin/kalmet" book --db "$db" --user demo --fiscal-year 2026-02-01 --inventory 2026-05-15:TX1001:2 --yes
dauer Probe
echo "Paket $paket: lintian ohne Fehler, kalmet print und kalmet book laufen aus dem entpackten Paket"
