#!/bin/sh
# tests/wine/check-zip.sh ZIP NATIVE_DATA_DIR LIBRARIES FONT_LICENCE: the zip holds the one
# folder Quenmarsh/, whose data/ is byte for byte the native build's, whose licences/ holds the
# font's licence as FONT_LICENCE, whose NOTICES.txt names each library the
# library build lists in LIBRARIES (its share/libraries.txt) with its version and licence file,
# and whose quenmarsh.exe is a GUI program with an icon and version information that imports
# only Windows system DLLs.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 -m zipfile -e "$1" "$work"
[ "$(ls "$work")" = Quenmarsh ] || { echo "the zip holds $(ls "$work"), not one folder Quenmarsh/"; exit 1; }
diff -r "$2" "$work/Quenmarsh/data"
for file in LICENSE.txt NOTICES.txt "licences/$4"; do
    [ -s "$work/Quenmarsh/$file" ] || { echo "no $file"; exit 1; }
done
while read -r name version; do
    [ -s "$work/Quenmarsh/licences/$name.txt" ] || { echo "no licences/$name.txt"; exit 1; }
    grep -q "licences/$name\.txt (.*), version $version\$" "$work/Quenmarsh/NOTICES.txt" ||
        { echo "NOTICES.txt does not name $name $version"; exit 1; }
done < "$3"
! grep -n "@[A-Z_]*@" "$work/Quenmarsh/NOTICES.txt" || { echo "NOTICES.txt has a blank left unfilled"; exit 1; }
dump=$(x86_64-w64-mingw32-objdump -p "$work/Quenmarsh/quenmarsh.exe")
echo "$dump" | grep -q "^Subsystem.*(Windows GUI)" || { echo "not a GUI program"; exit 1; }
# Resource types at the top of the tree: 14 a group of icons, 16 version information.
for type in 00000e 000010; do
    echo "$dump" | grep -Eq "^[0-9a-f]{3}   Entry: ID: 0x$type," || { echo "no resource of type 0x$type"; exit 1; }
done
foreign=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -viE \
    '^(advapi32|comdlg32|dsound|gdi32|gdiplus|kernel32|msvcrt|ole32|opengl32|shell32|shlwapi|user32|winmm)\.dll$' || true)
[ -z "$foreign" ] || { echo "imports DLLs that Windows does not bring: $foreign"; exit 1; }
