#!/bin/sh
# Packs the release: titrion3.zip with one folder, titrion3\, holding the program, the
# graph library, the console evaluation, the manual in both forms, the samples and the read-me.
# $1: the Windows build folder, $2: the folder with titrion2.pdf and titrion2.rtf,
# $3: the output folder.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
win=$1
docs=$2
out=$3
stage="$out/stage/titrion3"
rm -rf "$out/stage" "$out/titrion3.zip"
mkdir -p "$stage/priklady"
cp "$win/app/titrion3.exe" "$win/vexplot/vexplot3.dll" "$win/eval/titrion-eval.exe" "$stage/"
cp "$docs/titrion2.pdf" "$docs/titrion2.rtf" "$stage/"
cp "$here"/examples/*.tid "$stage/priklady/"
# A text file for Notepad: CR LF line ends.
sed 's/$/\r/' "$here/docs/dist/README.txt" > "$stage/README.txt"
# Fixed times and order: the same inputs give the same archive.
find "$out/stage" -exec touch -h -d '2000-01-01 00:00:00' {} +
(cd "$out/stage" && find titrion3 | LC_ALL=C sort | zip -q -X -9 "../titrion3.zip" -@)
rm -rf "$out/stage"
echo "$out/titrion3.zip"
