#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo: korvath-sim plays a controller that holds
# a KV4 calibration, on a pseudo-terminal linked as COM9 of a settings folder of its own
# (build/demo/), and korvath starts on those settings, connected to it. With a display the
# program runs until it is closed. Without one it runs under Xvfb, reads the calibration from the
# controller and writes it back through the menu commands, saves a picture of the main window
# and prints the picture's path.
#
#   bash scripts/run.sh              install, build into build/, run
#   bash scripts/run.sh --no-build   run what is built in ${KORVATH_BUILD_DIR:-build}
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${KORVATH_BUILD_DIR:-build}"
if [ "${1:-}" != "--no-build" ]; then
  bash scripts/install-deps.sh
  bash scripts/build.sh
  build_dir=build
fi
bin="$(pwd)/$build_dir/bin"
demo="$(pwd)/$build_dir/demo"
rm -rf "$demo"
mkdir -p "$demo/ports"

# The demo calibration: a fresh calibration on the KV4 definition, as the controller's table #1.
"$bin/korvath-cli" --home "$bin" image "$bin/PID2/3/KV4.def" "$demo/KV4.bin" > /dev/null
cat > "$demo/korvath.INI" << 'INI'
[Communication Settings]
COMPortNumber=9
[AboutBox]
ShowAtStartup=0
[StartBox]
ShowAtStartup=0
INI

"$bin/korvath-sim" --link "$demo/ports/COM9" --baud 9600 --eeprom "$demo/KV4.bin" \
  > "$demo/sim.out" 2> "$demo/sim.err" &
sim=$!
trap 'kill "$sim" 2> /dev/null || true; wait "$sim" 2> /dev/null || true' EXIT
for _ in $(seq 100); do
  [ -e "$demo/ports/COM9" ] && break
  sleep 0.1
done
[ -e "$demo/ports/COM9" ] || { echo "korvath-sim did not start:" >&2; cat "$demo/sim.err" >&2; exit 1; }
echo "korvath-sim: $(head -n 1 "$demo/sim.out") linked as $demo/ports/COM9"

export KORVATH_SETTINGS="$demo/korvath.INI"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$bin/korvath"
else
  shot="$demo/korvath-demo.png"
  KORVATH_SCREENSHOT="$shot" KORVATH_DEMO_TRANSFER=1 \
    xvfb-run -a -s "-screen 0 1280x960x24" "$bin/korvath"
  echo "Picture of the main window: $shot"
fi
