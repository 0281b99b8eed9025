#!/usr/bin/env bash
# Sets up, builds everything and runs every test; ends with ctest's summary.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/setup.sh"

echo "Checking the formatting"
mapfile -t sources < <(cd "$root" && git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' \
    'tests/*.h' 'bench/*.cpp' 'bench/*.h' 2>/dev/null || true)
if [ "${#sources[@]}" -gt 0 ]; then
    (cd "$root" && clang-format --dry-run --Werror "${sources[@]}")
fi

"$root/scripts/build.sh"
cd "$root/build"
# Window tests run offscreen (each test sets its platform); Xvfb serves those that need OpenGL.
xvfb-run -a -s "-screen 0 1280x800x24" ctest --output-on-failure -j2
# Every seed file through every reader under AddressSanitizer and UndefinedBehaviorSanitizer.
"$root/fuzz.sh" --replay
