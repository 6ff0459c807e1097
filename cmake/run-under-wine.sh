#!/bin/sh
# Runs one Windows test program under Wine for ctest.
#
# Wine now and then fails to start a program at all, when the client connects
# while a Wine server is starting up or shutting down: the start fails at once
# and the program prints nothing. Such a start is tried once more. A program
# that started (it printed anything) keeps its exit status, so a test that fails
# for a reason still fails.
wine=$1
shift
log=$(mktemp) || exit 1
trap 'rm -f "$log"' EXIT
for attempt in 1 2; do
  "$wine" "$@" >"$log" 2>&1
  status=$?
  if [ "$status" -eq 0 ] || grep -qv -e '^wine client error' -e '^wine: ' -e '^wineserver: ' "$log"; then
    break
  fi
  [ "$attempt" -eq 1 ] && echo "run-under-wine: '$1' did not start (status $status): trying once more" >&2
  sleep 2
done
cat "$log"
exit "$status"
