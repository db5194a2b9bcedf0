#!/usr/bin/env bash
# Runs a command inside the project's Wine session: a display (Xvfb if none),
# the private prefix and one persistent wineserver for the whole command.
# VESKAR_ARCH=i686 makes it a session of the 32-bit Wine (see wine-env.sh).
set -u
source "$(dirname "$0")/wine-env.sh" || exit 1
veskar_ensure_wine || exit 1
VESKAR_XVFB_PID=""
veskar_ensure_display || exit 1
veskar_ensure_prefix || exit 1
veskar_ensure_keeper || exit 1
wineserver -k >/dev/null 2>&1
wineserver -p
# Start Wine's background services now, detached from our output: started
# by a test instead, they would inherit CTest's pipes and keep it waiting.
wine cmd /c exit </dev/null >/dev/null 2>&1
# Wine closes the desktop (its explorer process) about a second after the
# last program on it exits, and the next one starts it again: 0.3 s each
# time natively, 1.6 s under qemu. A hidden program holds it for the session.
wine "$WINEPREFIX/keepdesktop.exe" </dev/null >/dev/null 2>&1 &
"$@"
rc=$?
wineserver -k >/dev/null 2>&1
[ -n "$VESKAR_XVFB_PID" ] && kill "$VESKAR_XVFB_PID" 2>/dev/null
exit $rc
