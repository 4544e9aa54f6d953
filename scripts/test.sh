#!/usr/bin/env bash
# Installs what is missing, builds Kelvane with its tests and runs every test with
# ctest. The window tests run on Qt's offscreen platform, so no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKELVANE_GUI=ON -DKELVANE_BENCH=ON -DKELVANE_SANITIZE=OFF > /dev/null
cmake --build build -j"$(nproc)"
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
