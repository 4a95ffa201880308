#!/bin/sh
# The Windows build on a Debian 12 machine: installs the MinGW-w64 cross
# compiler, Wine and Xvfb, unpacks a Qt cross-built for Windows, builds the
# program and its tests into build-windows/ and runs the tests under Wine.
# Run through "./scripts/dev.sh windows". The Qt comes from ORVALITH_MINGW_QT (a
# tarball or a folder) or else from ../shared/windows/ beside the repository.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-windows"
. "$root/scripts/packages.sh"

# locales: the character maps that the Wine runner compiles a test's locale from.
packages="cmake make python3 g++-mingw-w64-x86-64-posix wine64 wine xvfb xauth xz-utils
    locales qttools5-dev qttools5-dev-tools qttranslations5-l10n"

qt_source() {
    if [ -n "${ORVALITH_MINGW_QT:-}" ]; then
        echo "$ORVALITH_MINGW_QT"
        return
    fi
    ls "$root"/../shared/windows/qt-5.15.*-mingw-w64-x86_64.tar.xz 2>/dev/null | tail -n 1
}

# The prefix is the folder holding lib/cmake/Qt5. A tarball is unpacked into the
# build folder once, again only when another tarball is given.
qt_prefix() {
    source=$1
    if [ -d "$source" ]; then
        folder=$source
    else
        folder="$build/qt"
        stamp="$folder/.unpacked-from"
        wanted="$(readlink -f "$source") $(stat -c '%s %Y' "$source")"
        if [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
            echo "Unpacking $source" >&2
            rm -rf "$folder"
            mkdir -p "$folder"
            tar -C "$folder" -xJf "$source"
            echo "$wanted" >"$stamp"
        fi
    fi
    found=$(find "$folder" -maxdepth 4 -type d -path '*/lib/cmake/Qt5' | head -n 1)
    [ -n "$found" ] && (cd "$found/../../.." && pwd)
}

source=$(qt_source)
if [ -z "$source" ] || [ ! -e "$source" ]; then
    cat >&2 <<'TEXT'
The Windows build needs Qt 5.15 cross-built for MinGW-w64, which Debian does not
package. Set ORVALITH_MINGW_QT to qt-5.15.8-mingw-w64-x86_64.tar.xz (or to the
folder it unpacks to): it is kept in ../shared/windows/ beside the repository on
the project's machines, with build-qt.sh, which tells how it was made.
TEXT
    exit 2
fi
install_missing $packages
prefix=$(qt_prefix "$source") || true
if [ -z "$prefix" ]; then
    echo "No Qt for Windows (lib/cmake/Qt5) in $source" >&2
    exit 2
fi

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
if ! grep -qs "^MINGW_QT_PREFIX:PATH=$prefix\$" "$build/CMakeCache.txt" ||
    ! grep -q "^ORVALITH_WERROR:BOOL=$werror\$" "$build/CMakeCache.txt"; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVALITH_WERROR=$werror \
        -DCMAKE_TOOLCHAIN_FILE="$root/platform/windows/mingw-w64-x86_64.cmake" \
        -DMINGW_QT_PREFIX="$prefix"
fi
cmake --build "$build" -j2
cd "$build"
# Two at a time, each in a Wine prefix of its own (see wine-run.sh).
exec ctest --output-on-failure -j2
