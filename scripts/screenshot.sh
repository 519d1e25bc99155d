#!/usr/bin/env bash
# Saves a PNG picture of the whole X display, with the pointer drawn in:
# scripts/screenshot.sh [OUT.png] (default screenshot.png).
# Uses the current DISPLAY (for example the one scripts/run.sh started).
set -euo pipefail
out="${1:-screenshot.png}"
: "${DISPLAY:?no DISPLAY to take a picture of}"
import -window root "$out"
# A screen grab leaves the pointer out; XFixes gives its picture and place.
pointer="$(mktemp --suffix=.png)"
if at="$(python3 "$(dirname "$0")/pointer_image.py" "$pointer" 2>/dev/null)"; then
  composite -geometry "$at" "$pointer" "$out" "$out" 2>/dev/null || true
fi
rm -f "$pointer"
echo "$out"
