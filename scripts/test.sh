#!/usr/bin/env bash
# Builds and runs every test: the native tests (Debug, ASan + UBSan), then the Win32 tests under
# Wine in a virtual X display. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
echo "== Native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== Windows build and Win32 tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
source scripts/wine-env.sh
xvfb_start
trap wine_env_stop EXIT
wine_env_init "$PWD/build/windows"
ctest --preset windows
