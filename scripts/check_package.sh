#!/usr/bin/env bash
# Checks the installed form of Lobex from an already built tree.
#   check_package.sh metadata BUILD_DIR  the desktop entry and the AppStream metadata through
#                                        their validators
#   check_package.sh deb BUILD_DIR       the Debian package: built by CPack into a scratch
#                                        folder, unpacked, its programs run from there, lintian
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode="${1:?metadata or deb}"
build="$(cd "${2:?the build folder}" && pwd)"
app_id=io.github.lobex.Lobex

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "$mode" = metadata ]; then
    desktop-file-validate "$root/packaging/$app_id.desktop"
    # Pedantic, and with the network: the metadata names no address that has to be reachable.
    appstreamcli validate --pedantic "$root/packaging/$app_id.metainfo.xml"
    grep -q '<project_license>GPL-3.0-or-later</project_license>' \
        "$root/packaging/$app_id.metainfo.xml" || fail "the metadata names no licence"
    echo "metadata: valid"
    exit 0
fi
[ "$mode" = deb ] || fail "unknown mode $mode"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# A package directory of its own, so that this never races scripts/package.sh.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack"; }
debs=("$scratch"/out/lobex_*.deb)
[ -f "${debs[0]}" ] || fail "no lobex_*.deb written"
deb="${debs[0]}"
echo "package: $(basename "$deb")"

# dpkg-shlibdeps found the Qt and C++ libraries the programs link; the plugins are named by hand.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for library in libqt6core6 libqt6widgets6 libstdc++6 libc6 qt6-qpa-plugins; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library"
done

rootfs="$scratch/root"
dpkg-deb -x "$deb" "$rootfs"
expected=(
    usr/bin/lobex usr/bin/lobex-cli usr/bin/lobex-plot usr/bin/lobex-render usr/bin/lobex-mmana
    usr/share/lobex/Help/Lobex.html
    "usr/share/applications/$app_id.desktop"
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
    "usr/share/metainfo/$app_id.metainfo.xml"
    usr/share/man/man1/lobex.1.gz usr/share/man/man1/lobex-cli.1.gz
    usr/share/doc/lobex/copyright
)
# The helper is there whenever this tree built it.
if [ -f "$build/bin/Utils/mmana-grab.exe" ]; then
    expected+=(usr/share/lobex/Utils/mmana-grab.exe)
fi
for file in "${expected[@]}"; do
    [ -f "$rootfs/$file" ] || fail "the package lacks /$file"
done
grep -q '^License: GPL-3+' "$rootfs/usr/share/doc/lobex/copyright" ||
    fail "the package's copyright file names no GPL-3+ licence"
for program in lobex lobex-cli lobex-plot lobex-render lobex-mmana; do
    if ldd "$rootfs/usr/bin/$program" | grep -q "not found"; then
        ldd "$rootfs/usr/bin/$program" >&2
        fail "$program needs a library the system lacks"
    fi
done

# lobex-cli's own commands start without Qt (pictures and MMANA have programs of their own), and
# without the 3D scene's model loader, which it never calls.
if ldd "$rootfs/usr/bin/lobex-cli" | grep -q -E 'libQt6|libassimp|libdraco'; then
    fail "lobex-cli loads Qt or the model loader"
fi

# The installed programs run from the scratch root against the system's Qt.
sample="$root/samples/yagi3_20m_sweep.csv"
info="$(env -u LD_LIBRARY_PATH "$rootfs/usr/bin/lobex-cli" info "$sample")" ||
    fail "the installed lobex-cli info failed"
[[ "$info" == *'"kind"'* && "$info" == *'"rows"'* ]] || fail "unexpected info output: $info"
echo "installed lobex-cli info: ok"
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$rootfs/usr/bin/lobex-cli" plot \
    "$root/samples/yagi3_20m_farfield.csv" --out "$scratch/azimuth.png" >/dev/null ||
    fail "the installed lobex-cli plot failed"
[ -s "$scratch/azimuth.png" ] || fail "the installed lobex-plot wrote no picture"
echo "installed lobex-cli plot: ok"
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$rootfs/usr/bin/lobex-cli" render \
    "$root/samples/yagi3_20m_farfield.csv" --view elevation --out "$scratch/elevation.svg" ||
    fail "the installed lobex-cli render failed"
[ -s "$scratch/elevation.svg" ] || fail "the installed lobex-render wrote no picture"
echo "installed lobex-cli render: ok"
mkdir -m 700 "$scratch/runtime"
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/runtime" \
    "$rootfs/usr/bin/lobex" "$root/samples/yagi3_20m_farfield.csv" \
    --screenshot "$scratch/window.png" >/dev/null 2>&1 || fail "the installed lobex failed"
[ -s "$scratch/window.png" ] || fail "the installed lobex saved no screenshot"
echo "installed lobex: ok"

# Errors fail the check; warnings are shown for whoever reads the log.
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$scratch/lintian.log" ||
    fail "lintian reports errors"
echo "lintian: no errors ($(grep -c '^W:' "$scratch/lintian.log" || true) warnings)"
