#!/bin/sh
# Remakes the screenshots of the new-user help page (docs/help/start.html)
# from the real window: the whole-road window test walks from a drawing to
# G-code under Xvfb and grabs the window at each step the page shows.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
build="${BUILD_DIR:-build/dev}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target ui_whole_road zeran postvex
out="$(pwd)/docs/help/images"
mkdir -p "$out"
ZERAN_HELP_SHOTS="$out" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1400x1000x24" "$build/tests/ui/ui_whole_road"
echo "help_screenshots: images written to $out"
ls -l "$out"
