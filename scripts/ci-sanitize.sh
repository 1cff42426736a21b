#!/usr/bin/env bash
# The core, command-line and simulator tests (and the fuzz corpora) built with AddressSanitizer
# and UndefinedBehaviorSanitizer into build-sanitize/, then run. The window tests are left to the
# plain build: Qt's own libraries are not instrumented.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache.sh
# KORVATH_WERROR is passed whether or not this tree knows it; CMake only notes an unused variable.
# -O1 with line tables only: the sanitizers check the same and report file and line, and a test
# file compiles in half the time it takes at -O2 with full debug information.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVATH_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DKORVATH_WERROR=ON -DKORVATH_BUILD_BENCH=OFF "${launcher[@]}" > build-sanitize-configure.log 2>&1 \
  || { cat build-sanitize-configure.log; exit 1; }
mapfile -t programs < <(cmake --build build-sanitize --target help | sed -n 's/^\(test-\(core\|cli\|sim\|integration\|fuzz\)[a-z-]*\):.*/\1/p' | sort -u)
cmake --build build-sanitize --parallel "$(nproc)" --target korvath-cli korvath-sim "${programs[@]}"
cd build-sanitize
# Reads and writes keep restore points in the user's data folder: the tests' own go to a folder of
# the build, never into the home of whoever runs them.
export XDG_DATA_HOME="$PWD/test-data-home"
rm -rf "$XDG_DATA_HOME" && mkdir -p "$XDG_DATA_HOME"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Programs not built here (the window tests) appear as *_NOT_BUILT, and the package needs the
# window program: neither is part of this run.
ctest --output-on-failure --parallel "$(nproc)" --timeout 600 -LE ui -E '_NOT_BUILT|package-deb'
