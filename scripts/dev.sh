#!/bin/sh
# Sets up a Debian 12 machine for Orvalith and builds it, then either starts the
# program ("run") or runs every test ("test"). Safe to run again: packages that
# are present are not reinstalled and only what changed is rebuilt.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
what=${1:-}

packages="cmake g++ make pkg-config python3
    qtbase5-dev qtdeclarative5-dev qtquickcontrols2-5-dev qttools5-dev qttools5-dev-tools
    qtdeclarative5-dev-tools
    qml-module-qtquick2 qml-module-qtquick-controls2 qml-module-qtquick-templates2
    qml-module-qtquick-layouts qml-module-qtquick-window2 qml-module-qtquick-dialogs
    qml-module-qtquick-privatewidgets qml-module-qtquick-controls
    qml-module-qt-labs-platform qml-module-qt-labs-settings qml-module-qt-labs-folderlistmodel
    qml-module-qttest libqt5svg5
    libgl1-mesa-dri fonts-liberation2 xdg-utils"
test_packages="xvfb xauth xclip xdotool x11-utils binutils-mingw-w64-x86-64 poppler-utils
    libimage-exiftool-perl
    clang-format"

install_missing() {
    missing=""
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
            missing="$missing $p"
        fi
    done
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
    fi
}

build_all() {
    werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALITH_WERROR=$werror
    else
        cmake -S "$root" -B "$build" -DORVALITH_WERROR=$werror >/dev/null
    fi
    cmake --build "$build" -j2
}

case "$what" in
run)
    install_missing $packages
    build_all
    exec "$build/bin/orvalith"
    ;;
test)
    install_missing $packages $test_packages
    build_all
    "$root/scripts/check-style.sh"
    cd "$build"
    exec ctest --output-on-failure -j2
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
