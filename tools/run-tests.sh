#!/usr/bin/env bash
# Runs the whole suite of one build through CTest (inside with-wine.sh),
# once: a test that fails fails the run. A run that executes no test counts
# as a failure too.
set -uo pipefail
build=$1
log=$(mktemp)
start=$(date +%s)
ctest --test-dir "$build" --output-on-failure --timeout 300 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
if ! grep -Eq 'tests passed, [0-9]+ tests failed out of [1-9][0-9]*' "$log"; then
    echo "run-tests: no test was executed" >&2
    rc=1
fi
rm -f "$log"
echo "run-tests: $build ($VESKAR_ARCH) took $(( $(date +%s) - start )) s"
exit $rc
