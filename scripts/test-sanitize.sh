#!/usr/bin/env bash
# Builds Kelvane with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan
# (without the benchmarks) and runs every test there. Any memory error, leak or
# undefined behaviour ends the test that meets it with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_SANITIZE=ON -DKELVANE_GUI=ON \
      -DKELVANE_BENCH=OFF > /dev/null
cmake --build build-asan -j"$(nproc)"
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 900
