#!/usr/bin/env bash
# Installs the Debian packages Lobex needs to build, run and test, when any is missing, and the
# validators the tests take from the npm registry.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

PACKAGES=(
    build-essential cmake ninja-build ccache clang-format
    qt6-base-dev libqt6opengl6-dev qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n
    qt6-l10n-tools qt6-tools-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libassimp-dev libglm-dev libtinygltf-dev nlohmann-json3-dev
    # Assimp's CMake files link libz.so, which libassimp-dev does not bring.
    zlib1g-dev
    xvfb xauth libgl1-mesa-dri fonts-dejavu-core
    g++-mingw-w64-x86-64-win32 wine wine64
    giflib-tools libgif-dev
    fonts-liberation emf2svg
    libfast-float-dev
    clang libclang-rt-14-dev llvm
    desktop-file-utils appstream lintian dpkg-dev file
    poppler-utils
    nec2c
)

# The glTF validator runs on Node.js; a machine that has its own keeps it.
if ! command -v npm >/dev/null 2>&1; then
    PACKAGES+=(nodejs npm)
fi

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "Missing Debian packages: ${missing[*]}" >&2
            echo "Run this as root, or install sudo, to have them installed." >&2
            exit 1
        fi
        as_root=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    # Through env, since sudo does not pass the caller's environment on.
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

validators="$root/tests/validators"
# Installed again whenever the lock file changes.
if ! cmp -s "$validators/package-lock.json" "$validators/node_modules/.installed-lock.json"; then
    echo "Installing the test validators from the npm registry"
    (cd "$validators" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$validators/package-lock.json" "$validators/node_modules/.installed-lock.json"
fi
