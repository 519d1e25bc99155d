#!/usr/bin/env bash
# Builds Parlavent for Windows and starts it under Wine with its sample dictionaries, on the current
# DISPLAY; with no DISPLAY it starts a virtual one (Xvfb) and says so. On Windows, build with the
# windows preset and start build/windows/Parlavent/Parlavent.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Parlavent parlavent_program_files
source scripts/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start
  echo "No DISPLAY: started a virtual display $DISPLAY (take a picture with DISPLAY=$DISPLAY scripts/screenshot.sh)."
fi
trap wine_env_stop EXIT
wine_env_init "$PWD/build/windows"
echo "Starting Parlavent under Wine on $DISPLAY"
wine build/windows/Parlavent/Parlavent.exe "$@"
