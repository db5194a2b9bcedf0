#!/usr/bin/env bash
# Shows the program at work: demo.exe opens a few stand-in browser windows
# behind the fake Shell window collection (fakeshell.dll) and starts the
# program, which reloads the ticked ones. On a real display everything stays
# up until the program is closed; without one (Xvfb) two rows are ticked,
# the screenshot <build>/demo.png is taken about 12 s later, and everything
# is closed.
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
fake=$(veskar_find_built "$build" tools/fakeshell/fakeshell.dll)
demo=$(veskar_find_built "$build" tools/demo/demo.exe)
work=$build/demo
mkdir -p "$work"
rm -f "$work/ticked" "$work/stop"

if [ "${VESKAR_DEMO_HEADLESS:-0}" = 1 ]; then
    wine "$demo" "$veskar" "$fake" "$work" --headless &
    demo_pid=$!
    for _ in $(seq 300); do
        [ -f "$work/ticked" ] && break
        sleep 0.1
    done
    sleep 12
    import -window root "$build/demo.png"
    echo "run-demo: screenshot $build/demo.png"
    touch "$work/stop"
    wait "$demo_pid"
else
    echo "run-demo: tick rows in Veskar; close it (window menu or caption) to end the demo"
    wine "$demo" "$veskar" "$fake" "$work"
fi
echo "run-demo: reloads logged in $work/fakeshell.log"
