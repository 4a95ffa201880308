#!/bin/sh
# Fails when a C++ file strays from .clang-format or a document does not pass qmllint.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
status=0
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench -name '*.cpp' -o -name '*.h')
if [ -n "$files" ] && ! clang-format --dry-run --Werror $files; then
    echo "check-style: run clang-format -i on the files above" >&2
    status=1
fi
qmllint=/usr/lib/qt5/bin/qmllint
for f in $(find ui -name "*.qml" | sort); do
    if ! "$qmllint" "$f"; then
        echo "check-style: qmllint failed for $f" >&2
        status=1
    fi
done
exit $status
