#!/usr/bin/env bash
# Installs what is missing, builds Morvane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)"
if [ -x build/release/src/ui/morvane ]; then
    exec build/release/src/ui/morvane "$@"
fi
echo "Built the engine and tests; the windows are not part of this version yet." >&2
