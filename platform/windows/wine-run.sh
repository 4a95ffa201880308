#!/bin/sh
# wine-run.sh --qt QT_PREFIX --dlls DIR[:DIR...] EXE [ARGS...]
#
# Runs a cross-built Windows program on this machine: CMake's emulator for the
# Windows build, so ctest and the build steps that run a program go through it.
# The program runs under Wine on an X server of its own (tests/with-xvfb.sh),
# with Qt's DLLs, plugins and QML modules and MinGW's run-time DLLs found where
# Windows looks. A QtTest program writes its results to the console that Wine
# gives it, which is not this terminal: it is asked for a file, printed here
# afterwards. Returns the program's exit status.
#
# EXE may be a program of this machine instead (a Python test that starts the
# Windows programs itself with "wine"): it runs on the X server with the same
# Wine set-up in its environment, the build folder taken from ORVALITH_EXE.
#
# The Wine prefix is ORVALITH_WINEPREFIX when set. Otherwise a prefix is made
# once in <build>/wineprefix and copied for each of ORVALITH_WINE_SLOTS (2) runs
# side by side, <build>/wineprefix.1 and so on: a run takes a copy that no
# other run holds, so that ctest can run two tests at a time.
#
# ORVALITH_WINE_DPI sets the screen's dots per inch that Windows programs see
# (96 is Windows' 100 %, 144 its 150 %) for this run only.
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

windows_program=false
case $exe in
*.exe | *.EXE) windows_program=true ;;
esac
if $windows_program; then
    build=$(cd "$(dirname "$exe")/.." && pwd)
else
    build=$(cd "$(dirname "${ORVALITH_EXE:?the build is found from ORVALITH_EXE}")/.." && pwd)
fi
template=$build/wineprefix
WINEPREFIX=${ORVALITH_WINEPREFIX:-$template}
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
# Its windows are left to no window manager: the tests' X servers have none, and
# Wine would wait two seconds at every window it hides for one to report the
# window withdrawn (a dialog closed, a menu's window, a test's window between
# cases).
unmanaged='^"Managed"="N"'
if [ ! -f "$WINEPREFIX/system.reg" ] || ! grep -q "$unmanaged" "$WINEPREFIX/user.reg"; then
    mkdir -p "$WINEPREFIX"
    UNMANAGED=$unmanaged flock "$WINEPREFIX/.made" sh -c '
        [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
        grep -q "$UNMANAGED" "$WINEPREFIX/user.reg" ||
            wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
        wineserver -w'
fi

# A copy of the made prefix that no other run holds, kept for the next runs. The
# lock is held on descriptor 8 until this script ends. The copy links the
# prefix's files (Wine replaces them whole, never writes into them) but for the
# registry files, which a run edits below.
if [ -z "${ORVALITH_WINEPREFIX:-}" ]; then
    slots=${ORVALITH_WINE_SLOTS:-2}
    slot=
    while [ -z "$slot" ]; do
        i=1
        while [ "$i" -le "$slots" ]; do
            exec 8>"$template.$i.lock"
            if flock -n 8; then
                slot=$i
                break
            fi
            i=$((i + 1))
        done
        [ -n "$slot" ] || sleep 0.2
    done
    WINEPREFIX=$template.$slot
    if [ ! -f "$WINEPREFIX/system.reg" ] ||
        [ "$template/system.reg" -nt "$WINEPREFIX/.copied" ] ||
        ! grep -q "$unmanaged" "$WINEPREFIX/user.reg"; then
        flock "$template/.made" sh -c '
            rm -rf "$1" && cp -al "$2" "$1" &&
            for reg in "$1"/*.reg; do cp --remove-destination "$2/${reg##*/}" "$reg"; done &&
            touch "$1/.copied"' copy "$WINEPREFIX" "$template" 8>&-
    fi
fi

# A test starts from no settings of the program's, as on Linux from an empty
# settings folder: its keys are taken out of the prefix's user registry, which
# is a text file while no Wine server runs.
registry() { python3 "$here/registry-edit.py" "$WINEPREFIX/user.reg" "$@"; }
wineserver -w
if [ -n "${ORVALITH_SANDBOX:-}" ]; then
    registry forget 'Software\\Orvalith'
fi
# The dots per inch as Wine's own settings set them. The user registry is put
# back as it was afterwards: Wine notes the resolution its fonts were made for
# there as well.
if [ -n "${ORVALITH_WINE_DPI:-}" ]; then
    cp "$WINEPREFIX/user.reg" "$WINEPREFIX/user.reg.before-dpi"
    registry set 'Control Panel\\Desktop' LogPixels \
        "dword:$(printf '%08x' "$ORVALITH_WINE_DPI")" >/dev/null
fi

out=
if $windows_program && x86_64-w64-mingw32-objdump -p "$exe" | grep -q 'DLL Name: Qt5\(Quick\)\?Test.dll'; then
    out=$(mktemp --suffix=.txt)
    set -- "$@" -o "$(winpath "$out"),txt"
fi
if $windows_program; then
    set -- wine "$exe" "$@"
else
    set -- "$exe" "$@"
fi
"$here/../../tests/with-xvfb.sh" "$@" 8>&- &
run=$!
# A program that has written all its results but does not end (seen once under
# Wine, in a test program's exit) is ended after a while, its results standing.
waited=0
ended_late=false
while kill -0 "$run" 2>/dev/null; do
    if [ -n "$out" ] && grep -qs '^\*\*\*\*\*\*\*\*\* Finished testing' "$out"; then
        waited=$((waited + 1))
        if [ "$waited" -gt 100 ]; then
            echo "wine-run: the program did not end 20 s after its results; ended" >&2
            ended_late=true
            wineserver -k
            break
        fi
    fi
    sleep 0.2
done
wait "$run"
rc=$?
if $ended_late; then
    grep -qs '^Totals: .* 0 failed' "$out" && rc=0 || rc=1
fi
# The program's windows and Wine's own services go with the X server.
wineserver -w
if [ -n "${ORVALITH_WINE_DPI:-}" ]; then
    mv "$WINEPREFIX/user.reg.before-dpi" "$WINEPREFIX/user.reg"
fi
if [ -n "$out" ]; then
    cat "$out"
    rm -f "$out"
fi
exit $rc
