#!/usr/bin/env bash
# Builds Kalmet and starts it on the demo database (or on --db / KALMET_DB).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

pakete_installieren "${BASIS_PAKETE[@]}"
dauer Pakete
bauen build -DKALMET_BUILD_TESTS=OFF
dauer Bauen
exec build/kalmet/kalmet "$@"
