#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from .clang-format. The style is pinned to
# clang-format 14 (Debian 12's), since other versions lay the same code out differently.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! clang-format --version | grep -q 'version 14\.'; then
    echo "check-format: clang-format 14 is required, found: $(clang-format --version)" >&2
    exit 1
fi
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
