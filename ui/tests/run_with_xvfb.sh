#!/bin/sh
# run_with_xvfb.sh WINE PROGRAM [ARGS...]: runs a Windows program under Wine on
# a virtual X display of its own, started here and stopped when it ends.
set -u
wine_program="$1"
shift
# A display the caller already runs on is used as it is: Wine's desktop process,
# once started, serves every program on the display it started with.
if [ -n "${DISPLAY:-}" ]; then
  "$wine_program" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  exec "$wine_program" "$@"
fi
display=""
for number in 91 92 93 94 95 96 97 98; do
  if [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ]; then
    display=":${number}"
    break
  fi
done
if [ -z "$display" ]; then
  echo "run_with_xvfb: no free display" >&2
  exit 1
fi
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null' EXIT INT TERM
# Wait for the server to accept clients (up to 10 s).
i=0
while [ ! -e "/tmp/.X11-unix/X${display#:}" ] && [ "$i" -lt 100 ]; do
  sleep 0.1
  i=$((i + 1))
done
export DISPLAY="$display"
# Without a window manager Wine draws the window frames itself.
"$wine_program" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$wine_program" "$@"
