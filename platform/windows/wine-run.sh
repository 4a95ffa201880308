#!/bin/sh
# wine-run.sh --qt QT_PREFIX --dlls DIR[:DIR...] EXE [ARGS...]
#
# Runs a cross-built Windows program on this machine: CMake's emulator for the
# Windows build, so ctest and the build steps that run a program go through it.
# The program runs under Wine on an X server of its own (tests/with-xvfb.sh),
# with Qt's DLLs, plugins and QML modules and MinGW's run-time DLLs found where
# Windows looks, in one Wine prefix (ORVALITH_WINEPREFIX, else <build>/wineprefix)
# made once and shared by runs one after the other. A QtTest program writes its
# results to the console that Wine gives it, which is not this terminal: it is
# asked for a file, printed here afterwards. Returns the program's exit status.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != --qt ] || [ "${3:-}" != --dlls ] || [ $# -lt 5 ]; then
    echo "usage: $0 --qt QT_PREFIX --dlls DIR[:DIR...] EXE [ARGS...]" >&2
    exit 2
fi
qt=$2
dlls=$4
exe=$5
shift 5

winpath() { printf 'Z:%s' "$1" | sed 's|/|\\|g'; }

build=$(cd "$(dirname "$exe")/.." && pwd)
WINEPREFIX=${ORVALITH_WINEPREFIX:-$build/wineprefix}
WINEDEBUG=${WINEDEBUG:--all}
# No .NET or Internet Explorer engine: Wine would offer to download them.
WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
WINEPATH=$(winpath "$qt/bin")
for dir in $(echo "$dlls" | tr ':' ' '); do
    WINEPATH="$WINEPATH;$(winpath "$dir")"
done
# Wine passes no QT_* variable on; Qt finds its plugins from where its DLLs are.
QML2_IMPORT_PATH=$(winpath "$qt/qml")
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEPATH QML2_IMPORT_PATH

# Wine takes the Windows locale from LC_ALL or LANG, and the encoding of file
# names on this side from the same locale, which must exist here: one not
# installed leaves it at ASCII, and a name with an accent cannot be made. The
# locale is compiled once into the build folder.
# With neither set (a build step started from a bare environment) the
# program gets C.UTF-8, which the C library has built in.
locale=${LC_ALL:-${LANG:-}}
if [ -z "$locale" ]; then
    locale=C.UTF-8
    LANG=$locale
    export LANG
fi
case $locale in
*_*.UTF-8)
    LOCPATH="$build/locales"
    # A compile that failed (no character maps yet) may leave an empty folder.
    if [ ! -f "$LOCPATH/$locale/LC_CTYPE" ]; then
        mkdir -p "$LOCPATH"
        flock "$LOCPATH/.made" localedef -i "${locale%%.*}" -f UTF-8 "$LOCPATH/$locale" ||
            echo "wine-run: cannot compile the locale $locale" >&2
    fi
    export LOCPATH
    ;;
esac

# The prefix is made once, under a lock: two build steps may start together.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    flock "$WINEPREFIX/.made" sh -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1; wineserver -w'
fi

# A test starts from no settings of the program's, as on Linux from an empty
# settings folder: its keys are taken out of the prefix's user registry, which
# is a text file while no Wine server runs.
if [ -n "${ORVALITH_SANDBOX:-}" ]; then
    wineserver -w
    python3 "$here/registry-forget.py" "$WINEPREFIX/user.reg" 'Software\\Orvalith'
fi

out=
if x86_64-w64-mingw32-objdump -p "$exe" | grep -q 'DLL Name: Qt5\(Quick\)\?Test.dll'; then
    out=$(mktemp --suffix=.txt)
    set -- "$@" -o "$(winpath "$out"),txt"
fi
"$here/../../tests/with-xvfb.sh" wine "$exe" "$@"
rc=$?
# The program's windows and Wine's own services go with the X server.
wineserver -w
if [ -n "$out" ]; then
    cat "$out"
    rm -f "$out"
fi
exit $rc
