#!/usr/bin/env bash
# Renders the main window without a display (Qt's offscreen platform), driven as a user drives
# it: the Browse page with a station selected, then the Downloading page ripping it.
# Usage: bash scripts/screenshot.sh [BROWSE.png [DOWNLOADING.png]]
#        (default: docs/main-window.png docs/downloading.png)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/main-window.png}"
rip="${2:-docs/downloading.png}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target wt_ui_screenshot
QT_QPA_PLATFORM=offscreen build/bin/wt_ui_screenshot "$out" "$rip"
echo "wrote $out and $rip"
