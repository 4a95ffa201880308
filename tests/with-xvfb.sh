#!/bin/sh
# Runs a command on an X server of its own, so that tests can run side by side
# without sharing a clipboard, keyboard focus or screen. ORVALITH_SCREEN gives
# the screen's size (WIDTHxHEIGHTxDEPTH) for a test that needs a particular one.
# POSIX sh and Xvfb only: the Windows build's tests run through it under Wine too,
# which passes no QT_* variable on to a Windows program.
set -u
# A fresh sandbox (settings, home, runtime folder) for every run.
if [ -n "${ORVALITH_SANDBOX:-}" ]; then
    rm -rf "$ORVALITH_SANDBOX"
    mkdir -p "$ORVALITH_SANDBOX/config" "$ORVALITH_SANDBOX/home/Documents" "$ORVALITH_SANDBOX/runtime"
    chmod 700 "$ORVALITH_SANDBOX/runtime"
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
Xvfb -displayfd 3 -screen 0 "${ORVALITH_SCREEN:-1600x1200x24}" -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/log" &
xvfb=$!
i=0
while [ ! -s "$tmp/display" ]; do
    i=$((i + 1))
    if [ "$i" -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "with-xvfb: the X server did not start" >&2
        cat "$tmp/log" >&2
        exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(cat "$tmp/display")"
export DISPLAY
# Qt's X11 platform, unless told otherwise: a Windows program under Wine has Qt's
# Windows platform draw through Wine's X11 driver.
QT_QPA_PLATFORM=${ORVALITH_QPA:-xcb}
export QT_QPA_PLATFORM
"$@"
rc=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $rc
