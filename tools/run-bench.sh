#!/usr/bin/env bash
# Runs the benchmarks of one x86_64 build (inside with-wine.sh) and reports
# how long they took. An argument picks figures by GoogleTest filter
# (default: all), e.g. 'Bench.StartUp:Bench.Idle'.
set -u
build=$(cd "$1" && pwd)
export VESKAR_EXE=$build/veskar.exe BENCH_BARE=$build/tools/bench/bench_bare.exe
export FAKESHELL_DLL=$build/tools/fakeshell/fakeshell.dll
start=$(date +%s)
timeout 600 wine "$build/tools/bench/veskar_bench.exe" --gtest_filter="${2:-Bench.*}"
rc=$?
echo "make bench: $(( $(date +%s) - start )) s of benchmarks (exit $rc)"
exit $rc
