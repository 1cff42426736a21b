#!/usr/bin/env bash
# Builds the libFuzzer programs with clang (build-fuzz/) and runs them on their seed corpora:
#   scripts/fuzz.sh [TARGET] [SECONDS]
# TARGET is a file name of tests/fuzz without "_fuzz.cpp" (default: every target), SECONDS the
# time per target (default 60). New inputs the fuzzer finds go to build-fuzz/corpus/<target>/;
# a crash leaves its input in build-fuzz/ (copy it into tests/fuzz/corpus/<target>/ once fixed).
# A target with tests/fuzz/dictionaries/<target>.dict fuzzes with that dictionary.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-all}"
seconds="${2:-60}"
source scripts/compiler-cache.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DKORVATH_FUZZ=ON -DKORVATH_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
if [ "$target" = all ]; then
  targets=()
  for f in tests/fuzz/*_fuzz.cpp; do t="$(basename "$f" _fuzz.cpp)"; targets+=("$t"); done
else
  targets=("${target//-/_}")
fi
programs=()
for t in "${targets[@]}"; do programs+=("fuzz-${t//_/-}"); done
cmake --build build-fuzz -j"$(nproc)" --target "${programs[@]}"
for t in "${targets[@]}"; do
  work="build-fuzz/corpus/$t"
  mkdir -p "$work"
  dict=()
  [ -f "tests/fuzz/dictionaries/$t.dict" ] && dict=("-dict=../tests/fuzz/dictionaries/$t.dict")
  echo "== fuzz-${t//_/-}: ${seconds}s, seeds in tests/fuzz/corpus/$t"
  (cd build-fuzz && "bin/fuzz-${t//_/-}" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
     -print_final_stats=1 "${dict[@]}" "corpus/$t" "../tests/fuzz/corpus/$t")
done
