#!/usr/bin/env bash
# Configures (once) and builds the Release tree in build/. Extra arguments name targets.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# A compiler cache, where the machine has one, makes rebuilds of unchanged sources instant.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the checkout, so that every clone shares the cache.
    export CCACHE_BASEDIR="$root"
fi
if [ ! -f "$root/build/build.ninja" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
fi
if [ "$#" -gt 0 ]; then
    cmake --build "$root/build" --target "$@"
else
    cmake --build "$root/build"
fi
