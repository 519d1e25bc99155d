#!/usr/bin/env bash
# Kills the real program under Wine at random moments while it saves the user's files, ROUNDS
# times (20 by default), and checks after every kill that WhiteList.inf, statistics.dat, trl.dat
# and Parlavent.ini are whole: as they were before the start, or as a run that is not killed
# writes them. Each round starts as a first start for the per-application list ("CorrectOpera" 0,
# so start-up rewrites WhiteList.inf) and asks the program to end after a random wait (shut-down
# saves the statistics and the layout-switch table); odd rounds kill it during start-up, even
# ones after the end was asked.
# Usage: tests/wine/kill_while_saving.sh [BUILD_DIR] [ROUNDS]  (after the windows build)
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/wine/program_env.sh "$@"

appdata=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
user="$(winepath -u "$appdata" 2>/dev/null)/Parlavent"
files=(WhiteList.inf statistics.dat trl.dat Parlavent.ini)
list_before=$'C:\\Apps\\one.exe\tOne\t\tOneClass\t1\r\nC:\\Apps\\two.exe\tTwo\t*Two*\tTwoClass\t0'
list_after="$list_before"$'\r\nC:\\Program Files\\Opera\\Opera.exe\tOpera\t\tOperaWindowClass\t1'

random_ms() { echo $(( $1 + RANDOM % ($2 - $1 + 1) )); }
pause_ms() { sleep "$(printf '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )))"; }

# One run to its end gives the files as the program writes them.
run_clean() {
  store CorrectOpera 0
  store NeedUnload 0
  printf '%s' "$list_before" > "$user/WhiteList.inf"
  wine "$exe" </dev/null >/dev/null 2>&1 &
  local pid=$!
  sleep 6
  store NeedUnload 1
  for _ in $(seq 1 60); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# Statistics and a layout-switch table for shut-down to write back.
mkdir -p "$user"
printf '\xff\xfe' > "$user/statistics.dat"
printf 'Haus\t3\r\ndog\t1' | iconv -f UTF-8 -t UTF-16LE >> "$user/statistics.dat"
printf 'ghbdtn\t\xef\xf0\xe8\xe2\xe5\xf2\r\nrfr\t\xea\xe0\xea' > "$user/trl.dat"
run_clean
reference=$(mktemp -d)
for f in "${files[@]}"; do [ -f "$user/$f" ] && cp "$user/$f" "$reference/$f"; done
if [ "$(cat "$user/WhiteList.inf")" != "$list_after" ]; then
  echo "the run that was not killed did not write the expected WhiteList.inf" >&2
  exit 1
fi

failures=0
for round in $(seq 1 "$rounds"); do
  before=$(mktemp -d)
  printf '%s' "$list_before" > "$user/WhiteList.inf"
  for f in "${files[@]}"; do [ -f "$user/$f" ] && cp "$user/$f" "$before/$f"; done
  store CorrectOpera 0
  store NeedUnload 0
  # Odd rounds die during start-up (the list is rewritten then), even ones during shut-down.
  if [ $(( round % 2 )) -eq 1 ]; then
    end_at=999999
    kill_at=$(random_ms 50 1200)
  else
    end_at=$(random_ms 1500 4000)
    kill_at=$(( end_at + $(random_ms 0 1500) ))
  fi
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  if [ "$kill_at" -gt "$end_at" ]; then
    pause_ms "$end_at"
    store NeedUnload 1
    pause_ms $(( kill_at - end_at ))
  else
    pause_ms "$kill_at"
  fi
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  verdict="ok"
  for f in "${files[@]}"; do
    if [ ! -e "$user/$f" ]; then
      [ -e "$before/$f" ] && verdict="$f is gone"
    elif cmp -s "$user/$f" "$before/$f"; then
      :
    elif [ -e "$reference/$f" ] && cmp -s "$user/$f" "$reference/$f"; then
      :
    else
      verdict="$f is neither as it was nor as it was to be ($(stat -c %s "$user/$f") bytes)"
    fi
  done
  state=$(cmp -s "$user/WhiteList.inf" "$before/WhiteList.inf" && echo "WhiteList.inf as it was" || echo "WhiteList.inf rewritten")
  printf 'round %2d: killed after %4d ms%s: %s, %s\n' "$round" "$kill_at" \
    "$([ "$kill_at" -gt "$end_at" ] && echo " (end asked at $end_at ms)")" "$state" "$verdict"
  [ "$verdict" = "ok" ] || failures=$((failures + 1))
  rm -rf "$before"
done
leftovers=$(ls "$user" | grep -c '\.~' || true)
echo "$rounds kills, $failures with a damaged file; temporary files left beside them: $leftovers"
rm -rf "$reference"
[ "$failures" -eq 0 ]
