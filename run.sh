#!/usr/bin/env bash
# Sets up, builds and starts Lobex on the bundled sample. Without a display it runs under
# Xvfb, saves a screenshot of the main window and prints where.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" lobex

sample="$root/samples/yagi3_20m_farfield.csv"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$root/build/bin/lobex" "$sample"
fi
shot="$root/build/lobex-screenshot.png"
xvfb-run -a -s "-screen 0 1280x800x24" "$root/build/bin/lobex" "$sample" --screenshot "$shot"
echo "No display: Lobex ran under Xvfb. Screenshot of the main window: $shot"
