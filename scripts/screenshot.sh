#!/usr/bin/env bash
# Saves a PNG picture of the whole X display: scripts/screenshot.sh [OUT.png] (default screenshot.png).
# Uses the current DISPLAY (for example the one scripts/run.sh started).
set -euo pipefail
out="${1:-screenshot.png}"
: "${DISPLAY:?no DISPLAY to take a picture of}"
import -window root "$out"
echo "$out"
