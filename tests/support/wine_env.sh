# Wine settings shared by the test harness and the scripts (sourced).
export WINEDEBUG=${WINEDEBUG:--all}
# no Mono or Gecko prompts, and no Linux menu entries made from shortcuts
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
export WINEARCH=win64
# the same fonts on every machine: Wine's own, none of the host's or the user's
export FONTCONFIG_FILE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/fonts.conf

# Prefixes have no Z: (the host's root); the build folder is drive X: instead,
# so that a path the program gets wrong stays inside the prefix or the build.
link_build_drive() {  # prefix build-folder
  ln -sfn "$2" "$1/dosdevices/x:"
}
