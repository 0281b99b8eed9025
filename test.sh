#!/usr/bin/env bash
# Sets up, builds everything and runs every test; ends with ctest's summary.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/setup.sh"

echo "Checking the formatting"
mapfile -t sources < <(cd "$root" && git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' \
    'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' 'tools/*.cpp' 'tools/*.h' 2>/dev/null || true)
if [ "${#sources[@]}" -gt 0 ]; then
    (cd "$root" && clang-format --dry-run --Werror "${sources[@]}")
fi

echo "Checking the includes against the layers"
"$root/scripts/check_includes.sh"

# Every seed file through every reader under AddressSanitizer and UndefinedBehaviorSanitizer.
"$root/fuzz.sh" --replay

"$root/scripts/build.sh"
cd "$root/build"
# Qt wants a private runtime folder; the tests get one of their own.
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
# Window tests run offscreen (each test sets its platform); Xvfb serves those that need a
# display (Wine's windows, OpenGL).
xvfb-run -a -s "-screen 0 1280x800x24" ctest --output-on-failure -j2
