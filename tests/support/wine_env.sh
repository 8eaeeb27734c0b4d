# Wine settings shared by the test harness and the scripts (sourced).
export WINEDEBUG=${WINEDEBUG:--all}
# no Mono or Gecko prompts, and no Linux menu entries made from shortcuts
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
export WINEARCH=win64
