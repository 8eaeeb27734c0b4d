# Shared by the scripts (sourced): installs missing Debian packages, configures
# and builds. BUILD_DIR may be set to build elsewhere than build/.
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

PACKAGES=(cmake make python3 g++-mingw-w64-x86-64 mingw-w64 libz-mingw-w64-dev fonts-wine fonts-dejavu-core
          googletest wine wine64 xvfb xauth dpkg-dev imagemagick)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

configure_and_build() {
  install_packages
  if [ -x "$ROOT/scripts/fetch-minizip" ]; then "$ROOT/scripts/fetch-minizip" "$BUILD_DIR/deps"; fi
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$BUILD_DIR" -j2
}
