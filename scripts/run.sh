#!/usr/bin/env bash
# Builds Parlavent for Windows and starts it under Wine with its sample dictionaries, on the current
# DISPLAY; with no DISPLAY it starts a virtual one (Xvfb) and says so. On Windows, build with the
# windows preset and start build/windows/Parlavent/Parlavent.exe.
#
# It prints one line per stage; everything the stages print goes to build/run.log. Arguments are
# passed to the program ("/h" starts it hidden in the tray).
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
log="$PWD/build/run.log"
: >"$log"
stage=""

step() {
  stage="$1"
  echo "[$stage] $2"
  echo "==== [$stage] $2" >>"$log"
}

failed() {
  echo "Stopped at step $stage; the last lines of $log:" >&2
  tail -n 20 "$log" >&2
}
trap failed ERR

step 1/5 "Checking the packages the build needs (scripts/install-deps.sh)"
bash scripts/install-deps.sh >>"$log" 2>&1

step 2/5 "Configuring the Windows build (build/windows)"
cmake --preset windows >>"$log" 2>&1

step 3/5 "Building Parlavent.exe, a host dictool and the program files with the sample dictionaries (a few minutes the first time)"
cmake --build --preset windows -j "$(nproc)" --target Parlavent parlavent_program_files >>"$log" 2>&1

source scripts/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start
  echo "      No DISPLAY: started a virtual display $DISPLAY (take a picture with DISPLAY=$DISPLAY scripts/screenshot.sh)."
fi
trap 'wine_env_stop' EXIT

if [ -f build/windows/wineprefix/system.reg ]; then
  step 4/5 "Starting Wine with the prefix build/windows/wineprefix"
else
  step 4/5 "Making the Wine prefix build/windows/wineprefix (once per build tree, about a minute)"
fi
wine_env_init "$PWD/build/windows" >>"$log" 2>&1

step 5/5 "Starting Parlavent under Wine on $DISPLAY"
# The program writes "NeedShow" = "0" when its window shows: that is how this script sees it up.
key='HKCU\Software\VB and VBA Program Settings\Parlavent\Main'
wine reg delete "$key" /v NeedShow /f </dev/null >>"$log" 2>&1 || true
wine build/windows/Parlavent/Parlavent.exe "$@" </dev/null >>"$log" 2>&1 &
program=$!
trap - ERR
hidden=0
for arg in "$@"; do
  case "${arg,,}" in */h*) hidden=1 ;; esac
done
if [ "$hidden" = 1 ]; then
  echo "      Parlavent runs hidden: its icon is in the tray. End it with Exit in the tray menu (or Ctrl+C here)."
else
  up=0
  for _ in $(seq 1 240); do
    if wine reg query "$key" /v NeedShow </dev/null 2>/dev/null | grep -q 'REG_SZ[[:space:]]*0'; then
      up=1
      break
    fi
    kill -0 "$program" 2>/dev/null || break
    sleep 0.5
  done
  if [ "$up" = 1 ]; then
    echo "      Parlavent's window is up on $DISPLAY. Close it with Exit in its menu (or Ctrl+C here)."
  elif kill -0 "$program" 2>/dev/null; then
    echo "      Parlavent is running, but its window has not shown yet (see $log)."
  fi
fi
status=0
wait "$program" || status=$?
echo "Parlavent ended (exit code $status). The log is $log."
