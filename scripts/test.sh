#!/usr/bin/env bash
# The one test command: installs what is missing, then builds and runs every
# test in three builds:
#   build/       the program, tests and benchmarks, warnings as errors, all tests
#                (end-to-end ones under their own Xvfb included, at 1280 x 1024 and
#                800 x 600; the Debian packages of scripts/package.sh, built in
#                build/tests/package-check/);
#   build-asan/  the unit tests (no browser engine) under AddressSanitizer and
#                UndefinedBehaviorSanitizer;
#   build-fuzz/  the libFuzzer targets (clang), each for a short run.
#
#   scripts/test.sh [STAGE]
#
# With a STAGE, only that one:
#   build   build/ only, no tests
#   unit    build/, then its tests but the end-to-end ones
#   asan    build-asan/ and its tests
#   fuzz    build-fuzz/ and its fuzzers
#   e2e     build/, then its end-to-end tests
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

stage=${1:-all}
case "$stage" in
  all|build|unit|asan|fuzz|e2e) ;;
  -h|--help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "test: unknown stage $stage (build, unit, asan, fuzz or e2e)" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh

jobs=$(nproc)
export CTEST_OUTPUT_ON_FAILURE=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

build_main() {
  echo "== build: program, tests, benchmarks"
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVLIN_WERROR=ON >/dev/null
  cmake --build build -j"$jobs"
}

build_asan() {
  echo "== build-asan: unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVLIN_WERROR=ON \
      -DTAVLIN_SANITIZE=ON -DTAVLIN_WEBENGINE=OFF -DTAVLIN_BENCH=OFF >/dev/null
  cmake --build build-asan -j"$jobs"
}

build_fuzz() {
  echo "== build-fuzz: libFuzzer targets"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTAVLIN_FUZZ=ON -DTAVLIN_WEBENGINE=OFF -DTAVLIN_BENCH=OFF >/dev/null
  cmake --build build-fuzz -j"$jobs"
}

run_asan() {
  echo "== sanitized unit tests"
  ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
  LSAN_OPTIONS=suppressions="$root/tests/lsan.supp":print_suppressions=0 \
      ctest --test-dir build-asan -j"$jobs" -LE 'e2e|display' --timeout 300
}

run_fuzz() {
  echo "== fuzzers"
  ctest --test-dir build-fuzz -j"$jobs" --timeout 300
}

case "$stage" in
  all)
    build_main
    build_asan
    build_fuzz
    run_asan
    run_fuzz
    echo "== all tests (the start-up benchmark, label bench, is left out)"
    ctest --test-dir build -j"$jobs" --timeout 600 -LE bench
    ;;
  build) build_main ;;
  unit)
    build_main
    echo "== unit tests"
    ctest --test-dir build -j"$jobs" --timeout 600 -LE 'bench|e2e|display'
    ;;
  asan) build_asan; run_asan ;;
  fuzz) build_fuzz; run_fuzz ;;
  e2e)
    build_main
    echo "== end-to-end tests"
    ctest --test-dir build -j"$jobs" --timeout 600 -L e2e
    ;;
esac
