#!/usr/bin/env bash
# Installs the packages Morvane builds with, when they are missing, on Debian 12
# (what CI proves; another apt-based system may work if its CMake is 3.25 or later).
# `./scripts/deps.sh cluster` adds Slurm and munge for the test cluster (scripts/test-cluster.sh);
# they are not installed by default, since on a machine with systemd their packages start services.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      libcli11-dev libtomlplusplus-dev qt6-base-dev xvfb xauth clang-format git)
if [ "${1:-}" = cluster ]; then
    pkgs=(slurm-wlm munge)
fi
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
