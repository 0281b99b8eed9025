#!/usr/bin/env bash
# Sets up, builds everything and runs every test, then the fuzz seed replay; ends with
# ctest's summary.
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

"$root/scripts/build.sh"
cd "$root/build"
# Qt wants a private runtime folder; the tests get one of their own.
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
ctest_log="$(mktemp)"
trap 'rm -rf "$XDG_RUNTIME_DIR" "$ctest_log"' EXIT
# Window tests run offscreen (each test sets its platform); Xvfb serves those that need a
# display (Wine's windows, OpenGL).
tests_status=0
xvfb-run -a -s "-screen 0 1280x800x24" ctest --output-on-failure -j2 2>&1 | tee "$ctest_log" ||
    tests_status=$?

# Every seed file through every reader under AddressSanitizer and UndefinedBehaviorSanitizer.
# It builds a clang tree of its own, so it comes after the unit tests, which fail faster.
replay_status=0
"$root/fuzz.sh" --replay || replay_status=$?

echo
if [ "$replay_status" -eq 0 ]; then
    echo "Fuzz seed replay: passed"
else
    echo "Fuzz seed replay: FAILED (see its output above)"
fi
# ctest's summary last, for those who read only the end.
sed -n '/tests passed, /,$p' "$ctest_log"
[ "$tests_status" -eq 0 ] && [ "$replay_status" -eq 0 ]
