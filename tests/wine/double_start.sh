#!/usr/bin/env bash
# Starts two copies of the real program under Wine at the same moment, ROUNDS times (20 by
# default): each time exactly one copy must stay and the other must hand over ("NeedShow" = "1")
# and end with exit code 0; the copy that stays is then asked to end.
# Usage: tests/wine/double_start.sh [BUILD_DIR] [ROUNDS]  (after the windows build)
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/wine/program_env.sh "$@"

ended_with() {  # pid: the exit code once the process ended within 30 s, else "running"
  for _ in $(seq 1 60); do
    if ! kill -0 "$1" 2>/dev/null; then wait "$1"; echo $?; return; fi
    sleep 0.5
  done
  echo running
}

passed=0
for round in $(seq 1 "$rounds"); do
  store NeedUnload 0
  store NeedShow 0
  wine "$exe" </dev/null >/dev/null 2>&1 &
  a=$!
  wine "$exe" </dev/null >/dev/null 2>&1 &
  b=$!
  # The copy that hands over ends at once; the one that stays does not.
  ended=""
  stays=""
  for _ in $(seq 1 60); do
    if ! kill -0 "$a" 2>/dev/null; then ended=$a; stays=$b; break; fi
    if ! kill -0 "$b" 2>/dev/null; then ended=$b; stays=$a; break; fi
    sleep 0.5
  done
  sleep 3
  if [ -z "$ended" ]; then
    verdict="both copies still run"
  else
    wait "$ended"
    code=$?
    if ! kill -0 "$stays" 2>/dev/null; then
      wait "$stays"
      verdict="both copies ended (exit codes $code and $?)"
    elif [ "$code" -ne 0 ]; then
      verdict="the copy that handed over ended with $code"
    else
      verdict="ok: one copy stays, the other handed over (NeedShow now ${show:=$(stored NeedShow)})"
    fi
  fi
  unset show
  store NeedUnload 1
  for p in $a $b; do
    if [ "$(ended_with "$p")" = running ]; then kill -9 "$p" 2>/dev/null; wait "$p" 2>/dev/null; fi
  done
  printf 'round %2d: %s\n' "$round" "$verdict"
  case "$verdict" in ok*) passed=$((passed + 1)) ;; esac
done
echo "$passed of $rounds double starts left exactly one copy"
[ "$passed" -eq "$rounds" ]
