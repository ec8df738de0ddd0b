#!/usr/bin/env bash
# Installs what is missing, checks the C++ files' layout, builds everything (optimised, then the
# engine under ASan + UBSan, then the engine and the sweeps under ThreadSanitizer) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/check-format.sh
jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVANE_WERROR=ON
cmake --build build/release -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/release --output-on-failure -j "$jobs"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORVANE_SANITIZE=ON \
      -DMORVANE_BUILD_QT=OFF -DMORVANE_BUILD_BENCH=OFF -DMORVANE_WERROR=ON
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
# ThreadSanitizer cannot share a build with AddressSanitizer: a third, small build of the engine and
# the sweeps alone, whose tests play runs on several threads.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_TSAN=ON \
      -DMORVANE_BUILD_QT=OFF -DMORVANE_BUILD_BENCH=OFF -DMORVANE_WERROR=ON
cmake --build build/tsan -j "$jobs" --target morvane_sweep_tests
# Without address-space randomisation: ThreadSanitizer cannot map its shadow memory on kernels
# that randomise more bits than it expects.
setarch "$(uname -m)" -R ctest --test-dir build/tsan --output-on-failure -j "$jobs" -R '^Sweep'
