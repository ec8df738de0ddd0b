#!/usr/bin/env bash
# Installs what is missing, builds the program and the command line, and starts the program.
# Arguments go to the program (a scenario file, --seed S, --help).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)" --target morvane morvane-cli
exec build/release/src/ui/morvane "$@"
