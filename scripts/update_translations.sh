#!/usr/bin/env bash
# Collects the texts the user reads into translations/lobex_en.ts: tr() and translate() in the
# windows, and the texts marked LOBEX_TEXT() below them, which all go under the context "lobex"
# (scripts/lower_texts.py lists them). Existing translations are kept; new texts arrive
# unfinished, to be translated in the file (or with Qt Linguist).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="$(command -v lupdate || true)"
if [ -z "$lupdate" ] && [ -x /usr/lib/qt6/bin/lupdate ]; then
    lupdate=/usr/lib/qt6/bin/lupdate
fi
if [ -z "$lupdate" ]; then
    echo "lupdate not found: install qt6-l10n-tools" >&2
    exit 1
fi
cd "$root"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 scripts/lower_texts.py src/model src/core src/session src/view3d src/graphs src/images >"$work/LowerTexts.cpp"
"$lupdate" -silent -locations none -no-obsolete -source-language ru -target-language en \
    src/app src/dialogs src/platform "$work/LowerTexts.cpp" -ts translations/lobex_en.ts
