#!/usr/bin/env bash
# Builds the Debian package build-package/wavetrap_<version>_<arch>.deb (a release build of the
# program and its tools; dependencies from dpkg-shlibdeps).
# Install it with: sudo apt-get install ./build-package/wavetrap_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release
cmake --build build-package -j2 --target wavetrap wavetrap-settings wavetrap-catalogue wavetrap-rip wavetrap_docs
(cd build-package && cpack -G DEB)
ls -l build-package/wavetrap_*.deb
