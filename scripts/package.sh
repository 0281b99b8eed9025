#!/usr/bin/env bash
# Builds what the package holds and makes build/lobex_<version>_<arch>.deb with CPack.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" lobex_installed
cd "$root/build"
cpack -G DEB
ls "$root"/build/lobex_*.deb
