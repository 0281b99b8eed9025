#!/usr/bin/env bash
# Installs the Debian packages Lobex needs to build, run and test, when any is missing.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build clang-format
    qt6-base-dev libqt6opengl6-dev qt6-svg-dev qt6-qpa-plugins
    libgtest-dev libgmock-dev libbenchmark-dev
    libassimp-dev libglm-dev
    xvfb xauth libgl1-mesa-dri fonts-dejavu-core
    g++-mingw-w64-x86-64-win32 wine wine64
    giflib-tools libgif-dev
    fonts-liberation emf2svg
    libfast-float-dev
    clang libclang-rt-14-dev llvm
    desktop-file-utils appstream lintian dpkg-dev file
)

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
