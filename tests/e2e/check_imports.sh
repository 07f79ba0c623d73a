#!/usr/bin/env bash
# check_imports.sh EXE: fails unless every DLL the exe imports is one that Windows itself ships
# and that the program needs from its start (comdlg32, the font dialog's, is loaded only while
# the dialog is open; oleacc, the screen readers', only when one asks), and unless the exe stays
# within 96 KiB (it prints the size).
set -uo pipefail
size_limit=$((96 * 1024))
allowed=" advapi32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll "
names=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
if [ -z "$names" ]; then
    echo "FAIL no imports read from $1"
    exit 1
fi
failed=0
for name in $names; do
    if [[ "$allowed" == *" $name "* ]]; then
        echo "ok   $name"
    else
        echo "FAIL $name is not one of the Windows DLLs Kivet may import"
        failed=1
    fi
done
size=$(stat -c %s "$1")
if [ "$size" -le "$size_limit" ]; then
    echo "ok   size $size bytes (limit $size_limit)"
else
    echo "FAIL size $size bytes, over $size_limit"
    failed=1
fi
exit $failed
