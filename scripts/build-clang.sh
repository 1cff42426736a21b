#!/usr/bin/env bash
# Builds everything with clang 14 and warnings as errors into build-clang/ and runs every test
# there (offscreen), as scripts/test.sh does with the default compiler:
#   scripts/build-clang.sh [--no-test] [extra configure arguments]
# CI leaves this out for its run time; run it after changes to compiler-sensitive code.
set -euo pipefail
cd "$(dirname "$0")/.."
run_tests=1
if [ "${1:-}" = --no-test ]; then run_tests=0; shift; fi
cxx="$(command -v clang++-14 || command -v clang++)"
cc="$(command -v clang-14 || command -v clang)"
source scripts/compiler-cache.sh
jobs="${KORVATH_JOBS:-$(nproc)}"
cmake -S . -B build-clang -G Ninja -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_C_COMPILER="$cc" \
  -DKORVATH_WERROR=ON "${launcher[@]}" "$@" > build-clang-configure.log 2>&1 \
  || { cat build-clang-configure.log; exit 1; }
cmake --build build-clang --parallel "$jobs"
[ "$run_tests" = 1 ] || exit 0
cd build-clang
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs" --timeout 300
