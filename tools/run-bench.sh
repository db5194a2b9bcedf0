#!/usr/bin/env bash
# Runs the benchmarks of one x86_64 build (inside with-wine.sh) and reports
# how long they took. Extra arguments name the figures to run (default: all).
set -u
build=$1
shift
start=$(date +%s)
timeout 900 wine "$build/tests/bench/veskar_bench.exe" "$build/veskar.exe" \
    "$build/tests/bench/bench_bare.exe" "$build/tests/e2e/fakeshell.dll" "$@"
rc=$?
echo "make bench: $(( $(date +%s) - start )) s of benchmarks (exit $rc)"
exit $rc
