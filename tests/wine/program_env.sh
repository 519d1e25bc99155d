#!/usr/bin/env bash
# Sourced by the scripts of this folder, from the repository root, with BUILD_DIR and ROUNDS as
# their arguments: a virtual display and the build tree's Wine prefix (stopped on exit), the
# program as exe, and the settings-store helpers.
build=${1:-build/windows}
rounds=${2:-20}
exe="$PWD/$build/Parlavent/Parlavent.exe"
[ -f "$exe" ] || { echo "no $exe: build the windows preset first" >&2; exit 2; }

source scripts/wine-env.sh
xvfb_start
trap wine_env_stop EXIT
wine_env_init "$PWD/$build"

key='HKCU\Software\VB and VBA Program Settings\Parlavent\Main'
store() { wine reg add "$key" /v "$1" /d "$2" /f </dev/null >/dev/null 2>&1; }
stored() { wine reg query "$key" /v "$1" </dev/null 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'; }
