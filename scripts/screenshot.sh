#!/usr/bin/env bash
# Renders the main window to a PNG without a display (Qt's offscreen platform).
# Usage: bash scripts/screenshot.sh [OUTPUT.png]   (default: docs/main-window.png)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/main-window.png}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target wt_ui_screenshot
QT_QPA_PLATFORM=offscreen build/bin/wt_ui_screenshot "$out"
echo "wrote $out"
