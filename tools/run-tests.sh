#!/usr/bin/env bash
# Runs the whole suite of one build through CTest (inside with-wine.sh).
# A run that executes no test counts as a failure.
set -uo pipefail
build=$1
log=$(mktemp)
# A test whose Wine process fails to start (seen: no output, 0.04 s) gets
# one more try; a real failure fails twice.
ctest --test-dir "$build" --output-on-failure --timeout 300 --repeat until-pass:2 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
if ! grep -Eq 'tests passed, [0-9]+ tests failed out of [1-9][0-9]*' "$log"; then
    echo "run-tests: no test was executed" >&2
    rc=1
fi
rm -f "$log"
exit $rc
