#!/usr/bin/env bash
# Configures (once) and builds the Release tree in build/. Extra arguments name targets.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -f "$root/build/build.ninja" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
if [ "$#" -gt 0 ]; then
    cmake --build "$root/build" --target "$@"
else
    cmake --build "$root/build"
fi
