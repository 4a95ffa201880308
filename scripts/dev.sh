#!/bin/sh
# Sets up a Debian 12 machine for Orvalith and builds it, then either starts the
# program ("run") or runs every test ("test"); "windows" builds for Windows and
# runs the tests under Wine (scripts/windows.sh). Safe to run again: packages that
# are present are not reinstalled and only what changed is rebuilt.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
what=${1:-}

# What the program loads at run time is listed once, for the .deb and for here.
runtime_packages=$(grep '^[a-z0-9]' "$root/platform/linux/runtime-packages.txt")
packages="cmake g++ make pkg-config python3
    qtbase5-dev qtdeclarative5-dev qtquickcontrols2-5-dev qttools5-dev qttools5-dev-tools
    qtdeclarative5-dev-tools qml-module-qttest libqt5svg5 libgl1-mesa-dri xdg-utils
    $runtime_packages"
test_packages="xvfb xauth xclip xdotool x11-utils binutils-mingw-w64-x86-64 poppler-utils
    libimage-exiftool-perl
    clang-format dpkg-dev file fontconfig desktop-file-utils appstream openbox
    clang libclang-rt-14-dev"

. "$root/scripts/packages.sh"

# Configures only when there is no build yet or the warnings setting changed: the
# build itself configures again when a CMakeLists.txt changed. Builds the given
# targets, or everything.
build() {
    werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALITH_WERROR=$werror
    elif ! grep -q "^ORVALITH_WERROR:BOOL=$werror\$" "$build/CMakeCache.txt"; then
        cmake -S "$root" -B "$build" -DORVALITH_WERROR=$werror >/dev/null
    fi
    cmake --build "$build" -j2 "$@"
}

case "$what" in
run)
    install_missing $packages
    build --target orvalith
    exec "$build/bin/orvalith"
    ;;
test)
    install_missing $packages $test_packages
    build
    "$root/scripts/check-style.sh"
    cd "$build"
    exec ctest --output-on-failure -j2
    ;;
windows)
    exec "$root/scripts/windows.sh"
    ;;
*)
    echo "usage: $0 run|test|windows" >&2
    exit 2
    ;;
esac
