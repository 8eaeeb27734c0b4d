# Shared by the scripts (sourced): installs missing Debian packages, configures
# and builds. BUILD_DIR may be set to build elsewhere than build/.
set -eu
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# CMake cannot configure below a path holding a double quote (it writes paths
# into its own files unescaped), and windres hands its include folders to the
# shell escaping blanks only: a checkout whose path holds any other character
# that the shell treats specially is built through a link of its own, the
# same one each time, so that the build's cache stays valid.
if [[ $ROOT == *[^-[:alnum:]\ /._+,=@%:]* ]]; then
  link=${TMPDIR:-/tmp}/photarium-$(printf '%s' "$ROOT" | sha256sum | cut -c1-16)
  ln -sfn "$ROOT" "$link"
  ROOT=$link
fi
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

PACKAGES=(cmake make python3 g++-mingw-w64-x86-64 mingw-w64 fonts-wine fonts-dejavu-core
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

# The maker's options (scripts/build --help) become CMake parameters; one not
# given goes back to its default (-U), so that a later plain build or test
# run never keeps a release setting from the cache. Other arguments go to
# CMake as they are.
release_options() {
  local -A names=([--product]=PHOTARIUM_PRODUCT_DIR [--notes]=PHOTARIUM_RELEASE_NOTES
    [--version]=PHOTARIUM_VERSION [--sign]=PHOTARIUM_SIGN_CERT [--sign-pass]=PHOTARIUM_SIGN_PASS
    [--timestamp]=PHOTARIUM_TIMESTAMP_URL [--sign-ca]=PHOTARIUM_SIGN_CA
    [--installer-url]=PHOTARIUM_INSTALLER_URL)
  local -A given=()
  CMAKE_ARGS=()
  while [ $# -gt 0 ]; do
    if [ -n "${names[$1]:-}" ]; then
      [ $# -ge 2 ] || { echo "$1 needs a value" >&2; exit 2; }
      case $1 in
        --product|--notes|--sign|--sign-pass|--sign-ca) given[${names[$1]}]=$(realpath -m -- "$2") ;;
        *) given[${names[$1]}]=$2 ;;
      esac
      shift 2
    else
      CMAKE_ARGS+=("$1"); shift
    fi
  done
  local name
  for name in "${names[@]}"; do
    if [ -n "${given[$name]+set}" ]; then CMAKE_ARGS+=("-D$name=${given[$name]}"); else CMAKE_ARGS+=("-U$name"); fi
  done
  # the tests expect the stand-in product; a -DPHOTARIUM_BUILD_TESTS given still wins
  if [ -n "${given[PHOTARIUM_PRODUCT_DIR]+set}" ]; then
    CMAKE_ARGS=(-DPHOTARIUM_BUILD_TESTS=OFF "${CMAKE_ARGS[@]}")
  else
    CMAKE_ARGS=(-DPHOTARIUM_BUILD_TESTS=ON "${CMAKE_ARGS[@]}")
  fi
}

configure_and_build() {
  release_options "$@"
  install_packages
  if [ -x "$ROOT/scripts/fetch-minizip" ]; then "$ROOT/scripts/fetch-minizip" "$BUILD_DIR/deps"; fi
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "${CMAKE_ARGS[@]}" >/dev/null
  cmake --build "$BUILD_DIR" -j2
}
