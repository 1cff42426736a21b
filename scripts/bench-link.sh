#!/usr/bin/env bash
# The line benchmarks: 256 read_NVM (bench-comm) and whole EEPROM and flash table transfers
# (bench-transfer) against korvath-sim on a pseudo-terminal paced like a 9600-baud line. Each
# prints "ratio", its time over the time the characters alone need on the wire.
#   scripts/bench-link.sh [--rt]
# --rt runs them (and the simulator they start) under SCHED_FIFO (needs root): on a busy machine
# that keeps the other load out of the figures; on a quiet one it costs about half a percent.
# The load average is printed before and after.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KORVATH_BUILD_DIR:-build}"
cmake --build "$build" --parallel "$(nproc)" --target bench-comm bench-transfer korvath-sim
wrap=()
if [ "${1:-}" = --rt ]; then wrap=(chrt -f 10); fi
uptime
"${wrap[@]}" "$build/bin/bench-comm" --benchmark_filter=Read256
"${wrap[@]}" "$build/bin/bench-transfer"
uptime
