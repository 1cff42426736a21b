#!/usr/bin/env bash
# Takes the pictures the help shows from the program as it is, offscreen, and writes the help
# topics with them: the About, Getting Started and Communication Setup boxes from their layout
# test, the main window from the demo (scripts/run.sh). Run after a build; then commit data/help.
#
#   bash scripts/make_help_pictures.sh    uses ${KORVATH_BUILD_DIR:-build}
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${KORVATH_BUILD_DIR:-build}"
pictures="$(pwd)/$build_dir/help-pictures"
rm -rf "$pictures"
mkdir -p "$pictures"
KORVATH_DIALOG_SHOTS="$pictures" QT_QPA_PLATFORM=offscreen "$build_dir/bin/test-ui-dialogs" \
  --gtest_filter='DialogLayout.*' > /dev/null
(unset DISPLAY; KORVATH_BUILD_DIR="$build_dir" bash scripts/run.sh --no-build > /dev/null)
cp "$build_dir/demo/korvath-demo.png" "$pictures/mainwindow.png"
python3 scripts/make_help_topics.py "$pictures" data/help
echo "help topics written to data/help from the pictures in $pictures"
