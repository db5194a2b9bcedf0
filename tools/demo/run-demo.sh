#!/usr/bin/env bash
# Shows the program at work: a few stand-in browser windows (demobrowsers.exe)
# behind the fake Shell window collection (fakeshell.dll), and the program
# reloading the ticked ones. On a real display everything stays up until the
# program is closed; without one (Xvfb) two rows are ticked, the screenshot
# <build>/demo.png is taken after about 12 s, and everything is closed.
#
# usage: tools/demo/run-demo.sh <build dir>
set -euo pipefail

build=$(cd "${1:?usage: run-demo.sh <build dir>}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/tools/wine-env.sh"

if [ -z "${VESKAR_DEMO_INNER:-}" ]; then
    # Decide before with-wine.sh starts an Xvfb of its own.
    headless=0
    [ -z "${DISPLAY:-}" ] && headless=1
    # A prefix of its own, so the fake's registration never meets the tests';
    # copying the project's ready prefix is much faster than creating one.
    prefix=$build/demoprefix
    veskar_copy_prefix "$prefix"
    export VESKAR_WINEPREFIX=$prefix VESKAR_DEMO_INNER=1 VESKAR_DEMO_HEADLESS=$headless
    exec "$root/tools/with-wine.sh" "${BASH_SOURCE[0]}" "$build"
fi

veskar=$(veskar_find_built "$build" veskar.exe)
fake=$(veskar_find_built "$build" fakeshell.dll)
pages=$(veskar_find_built "$build" demobrowsers.exe)
driver=$(veskar_find_built "$build" e2e_test.exe)

work=$build/demo
mkdir -p "$work"
rm -f "$work/fakeshell.cfg" "$work/fakeshell.log"

clsid='HKLM\Software\Classes\CLSID\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\InprocServer32'
wine reg add "$clsid" /ve /d "$(winepath -w "$fake")" /f >/dev/null
wine reg add "$clsid" /v ThreadingModel /d Apartment /f >/dev/null

# The program passes its environment on to the fake inside it.
export FAKESHELL_CONFIG
FAKESHELL_CONFIG=$(winepath -w "$work/fakeshell.cfg")
wine "$pages" "$FAKESHELL_CONFIG" "$(winepath -w "$work/fakeshell.log")" &
pages_pid=$!
for _ in $(seq 100); do
    [ -f "$work/fakeshell.cfg" ] && break
    sleep 0.1
done
[ -f "$work/fakeshell.cfg" ] || { echo "run-demo: the demo windows did not start" >&2; exit 1; }

wine "$veskar" &
veskar_pid=$!

if [ "${VESKAR_DEMO_HEADLESS:-0}" = 1 ]; then
    wine "$driver" --tick 0 1
    sleep 12
    import -window root "$build/demo.png"
    echo "run-demo: screenshot $build/demo.png"
    wine "$driver" --close-all || true
else
    echo "run-demo: tick rows in Veskar; close it (window menu or caption) to end the demo"
    wait "$veskar_pid" || true
    wine "$driver" --close-all || true
fi
wait "$veskar_pid" 2>/dev/null || true
wait "$pages_pid" 2>/dev/null || true
echo "run-demo: reloads logged in $work/fakeshell.log"
