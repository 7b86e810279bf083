#!/bin/sh
# Runs a Windows program under Wine for ctest. Windows need a display: when
# there is none (CI), the run gets a virtual X server of its own, and the
# Wine session is waited for before that server goes away.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
  exec xvfb-run -a sh -c 'wine "$@"; rc=$?; wineserver -w; exit $rc' sh "$@"
fi
exec wine "$@"
