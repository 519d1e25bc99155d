#!/usr/bin/env bash
# Checks that no include of Program/ runs upward (tools/check_layers.py), then builds and runs
# every test: the native tests (Debug, ASan + UBSan), then the Win32 tests under
# Wine in a virtual X display. Exits non-zero on any failure.
#
# The tests run with a temporary folder and a Wine prefix made new for this run and removed at its
# end, so nothing an earlier run left behind can make a test pass or fail.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

echo "== Layers: no include runs upward"
python3 tools/check_layers.py
python3 tools/check_layers_test.py

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/parlavent-test.XXXXXX")
source scripts/wine-env.sh
wine_started=""
finish() {
  # Only what this run started: before wine_env_init the Wine server of WINEPREFIX (or of the
  # default prefix) is somebody else's, e.g. after a native failure.
  if [ -n "$wine_started" ]; then
    wine_env_stop
  elif [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$run_dir"
}
trap finish EXIT
mkdir "$run_dir/tmp"
export TMPDIR="$run_dir/tmp"

jobs=$(nproc)
echo "== Native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== Windows build and Win32 tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
xvfb_start
wine_started=1
wine_env_init "$run_dir"
# Each test runs once: a test that fails now and then shows a fault, and the run says so.
ctest --preset windows
