#!/usr/bin/env bash
# Installs what is missing, builds, runs every test: the normal build, the sanitizer build, short fuzz runs.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
jobs=$(nproc)

echo "== build"
scripts/build.sh build -DPIXMOND_GUI=ON
echo "== tests"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")
echo "== crash consistency (the command line killed at many points of every rewrite)"
scripts/crash-test.sh build/pixmond-cli
echo "== hostile inputs (every fuzz seed through every command that reads it)"
scripts/hostile-inputs.sh build/pixmond-cli

echo "== sanitizer build (address, undefined)"
# -O1 without debug info: the sanitizers still name the functions, and the build takes half the time.
scripts/build.sh build-asan -DPIXMOND_SANITIZE=ON -DPIXMOND_GUI=OFF -DPIXMOND_BENCH=OFF -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_C_FLAGS_RELEASE=-O1
echo "== sanitizer tests"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs")

if command -v clang++ >/dev/null; then
  echo "== fuzz (short runs)"
  CC=clang CXX=clang++ scripts/build.sh build-fuzz -DPIXMOND_FUZZ=ON -DPIXMOND_GUI=OFF -DPIXMOND_TESTS=OFF -DPIXMOND_BENCH=OFF \
    -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_C_FLAGS_RELEASE=-O1
  fuzz/run.sh build-fuzz "${PIXMOND_FUZZ_SECONDS:-5}"
fi
echo "== all tests passed"
