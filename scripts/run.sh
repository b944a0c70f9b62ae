#!/usr/bin/env bash
# Installs what is missing, builds, and starts Wavetrap.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
if [ -x build/bin/wavetrap ]; then
  exec build/bin/wavetrap "$@"
fi
echo "The application is not built yet; the command-line tools are in build/bin/." >&2
ls build/bin >&2
