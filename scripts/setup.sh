#!/usr/bin/env bash
# Installs what Тесворн needs from Debian's packages, builds it, and then either starts
# the program on the shipped example project (`run`) or runs every test (`test`).
# Run as root on a fresh Debian 12 machine (apt-get needs it).
set -euo pipefail
mode="${1:-run}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TESVORN_BUILD_DIR:-$here/build}"

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev
  libzip-dev libpugixml-dev
  fonts-dejavu-core xvfb xauth
)
# The tests read every generated report with LibreOffice, the way a user's word processor
# reads it; running the program does not need it.
if [ "$mode" = test ]; then
  packages+=(libreoffice-writer-nogui)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"

case "$mode" in
  test)
    cd "$build"
    ctest --output-on-failure -j "$(nproc)"
    ;;
  run)
    exec bash "$here/scripts/run-demo.sh" "$build"
    ;;
  *)
    echo "usage: setup.sh run|test" >&2
    exit 2
    ;;
esac
