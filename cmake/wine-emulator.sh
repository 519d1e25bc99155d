#!/bin/sh
# Runs a Windows program of the build under Wine. The first argument is the build tree's prefix;
# a test run that made a prefix of its own names it in PARLAVENT_WINEPREFIX, so nothing an
# earlier run left in the build tree's prefix can reach it.
prefix="$1"
shift
export WINEPREFIX="${PARLAVENT_WINEPREFIX:-$prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
