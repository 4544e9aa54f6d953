#!/usr/bin/env bash
# Installs what is missing, builds Kelvane and starts the desktop program (or, where
# no Qt 6 build exists, the command-line tool on the window's initial state).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKELVANE_GUI=ON -DKELVANE_BENCH=ON -DKELVANE_SANITIZE=OFF > /dev/null
cmake --build build -j"$(nproc)"
if [ -x build/src/ui/kelvane ]; then
  exec build/src/ui/kelvane "$@"
else
  exec build/src/cli/kelvane-cli "$@"
fi
