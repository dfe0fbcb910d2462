# Shared by run.sh and test.sh: Debian packages and the CMake build.

# Installs the Debian packages given that are not installed yet.
pakete_installieren() {
  local fehlend=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
  done
  [ ${#fehlend[@]} -eq 0 ] && return 0
  echo "Installiere Debian-Pakete: ${fehlend[*]}"
  # root installs itself; anyone else needs sudo, or runs the script in a root shell (su -c)
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Es fehlen Debian-Pakete und sudo gibt es nicht. In einer root-Shell installieren, dann erneut starten:" >&2
      echo "  su -c 'apt-get update && apt-get install --no-install-recommends ${fehlend[*]}'" >&2
      exit 1
    fi
    sudo="sudo"
  fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${fehlend[@]}"
}

# libxlsxwriter-dev links against zlib without depending on zlib1g-dev; qt6-translations-l10n gives
# Qt's standard buttons and dialogs their German texts; libpq-dev, the PostgreSQL client library
# under Qt's driver, tells whether the server wants a password
BASIS_PAKETE=(cmake ninja-build g++ ccache pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libpq-dev libsqlite3-dev libxlsxwriter-dev zlib1g-dev
  fonts-dejavu-core qt6-translations-l10n)

# bauen <build dir> <cmake options...>
bauen() {
  local dir="$1"
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

# Prints how long the step since the previous call (or the script's start) took.
dauer() {
  echo "Dauer $1: $((SECONDS - ${_dauer_ab:-0})) s"
  _dauer_ab=$SECONDS
}
