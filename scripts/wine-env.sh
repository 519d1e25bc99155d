#!/usr/bin/env bash
# Sourced by the run and test scripts: an X display and a Wine prefix inside the build tree.
#   xvfb_start                 starts Xvfb (XVFB_SIZE, 1280x1024 unless set) on a free display
#                              and exports DISPLAY
#   wine_env_init DIR          sets WINEPREFIX (DIR/wineprefix), WINEDEBUG and WINEDLLOVERRIDES,
#                              creates the prefix once, and starts a persistent Wine server with its services
#   wine_env_stop              stops the Wine server, its services and the Xvfb of xvfb_start

XVFB_PID=""
XVFB_SIZE="${XVFB_SIZE:-1280x1024}"
xvfb_start() {
  # Xvfb picks the display itself and writes its number once it accepts clients: two scripts
  # starting at once (tests of several build trees) never end up on one display.
  local numfile
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${XVFB_SIZE}x24" -nolisten tcp </dev/null >/dev/null 2>&1 3>"$numfile" &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    if [ -s "$numfile" ]; then
      export DISPLAY=":$(tr -dc 0-9 <"$numfile")"
      rm -f "$numfile"
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numfile"
  kill "$XVFB_PID" 2>/dev/null || true
  echo "Could not start Xvfb" >&2
  return 1
}

# The size of the current display, "WIDTHxHEIGHT" (the fallback when it cannot be read).
display_size() {
  # awk reads to the end: an early exit would end xdpyinfo with a broken pipe, and a failure under
  # pipefail would end the calling script.
  { xdpyinfo 2>/dev/null || true; } | awk '/dimensions:/ && !size { size = $2 } END { print size ? size : "1280x1024" }'
}

wine_env_init() {
  export WINEPREFIX="$1/wineprefix"
  # What cmake/wine-emulator.sh runs the test programs in.
  export PARLAVENT_WINEPREFIX="$WINEPREFIX"
  export WINEDEBUG=-all
  # No Mono or Gecko installer dialogs: the program uses neither.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX..."
    wineboot --init </dev/null >/dev/null 2>&1 || true
    wineserver --wait 2>/dev/null || true
  fi
  # Wine's own fonts (Marlett draws the caption buttons, Tahoma is the dialog font) are in its data
  # folder, which this Wine does not search: without them in the prefix the caption buttons show
  # as the letters "0 1 r". The prefix's font folder is always searched.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" dir
  for dir in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine-stable/share/wine/fonts; do
    if [ -f "$dir/marlett.ttf" ] && [ -d "$fonts" ]; then
      cp -n "$dir"/*.ttf "$fonts"/ 2>/dev/null || true
      break
    fi
  done
  # Run everything in a Wine virtual desktop: Wine draws the window frames and captions itself
  # (an Xvfb display has no window manager), and focus behaves as on Windows.
  # The desktop takes the display's size, so its taskbar and tray lie on screen.
  local size
  size=$(display_size)
  if ! grep -q '"Desktop"="Default"' "$WINEPREFIX/user.reg" 2>/dev/null ||
     ! grep -q "\"Default\"=\"$size\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f </dev/null >/dev/null 2>&1 || true
    wineserver --wait 2>/dev/null || true
  fi
  # A persistent server, and its services started here with no terminal attached: every test
  # process then starts in a fraction of a second, and no service holds a test's output open.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
