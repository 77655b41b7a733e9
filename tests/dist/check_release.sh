#!/bin/sh
# The unpacked release ($1; $2: objdump for Windows modules): its files, programs and library needing no DLL
# beside the system's and their own, and a manual that reads as Czech in both forms.
fail() { echo "$*" >&2; exit 1; }
cd "$1" || fail "no release at $1"
for f in titrion3.exe vexplot3.dll titrion-eval.exe titrion2.pdf titrion2.rtf README.txt priklady/*.tid; do [ -f "$f" ] || fail "the release lacks $f"; done
[ ! -e titrion2.ini ] || fail "a settings file is shipped: the program writes its own"
grep -q "titrion3\.exe.*$(printf '\r')\$" README.txt || fail "README.txt: no CR LF text naming titrion3.exe"
imports=$("$2" -p titrion3.exe vexplot3.dll titrion-eval.exe | sed -n 's/^\tDLL Name: //p' | tr A-Z a-z)
echo "$imports" | grep -qx vexplot3.dll && echo "$imports" | grep -qx kernel32.dll || fail "imports not read: $imports"
! echo "$imports" | grep -vxE '(kernel32|user32|gdi32|comctl32|comdlg32|shell32|advapi32|msvcrt|ole32|oleaut32|shlwapi|ucrtbase|vexplot3|api-ms-win-.*)\.dll' ||
  fail "needs DLLs that Windows lacks"
text=$(pdftotext -enc UTF-8 titrion2.pdf -)
for phrase in "uživatelská příručka" "Bod ekvivalence" "Klávesové zkratky" "Ctrl+G" "Zobrazovat" "Chyba při zápisu do souboru." \
              "titrion2.ini" "2,6875"; do printf '%s' "$text" | grep -qF "$phrase" || fail "titrion2.pdf lacks: $phrase"; done
[ "$(pdfinfo titrion2.pdf | sed -n 's/^Pages: *//p')" -ge 4 ] || fail "titrion2.pdf has fewer than 4 pages"
# An RTF document with "příručka" in its Czech letters as RTF Unicode escapes.
head -c 5 titrion2.rtf | grep -qF '{\rtf' && grep -qF 'p\u345?\u237?ru\u269?ka' titrion2.rtf || fail "titrion2.rtf: no RTF with the Czech title"
# titrion-eval.exe as the Windows console runs it: a wildcard its runtime expands to a name with Czech letters
# (Wine reads Unix file names in the locale's encoding: UTF-8 here, whatever the caller's is).
dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT && cp priklady/uhlicitan-hcl.tid "$dir/uhličitan.tid" || fail "no scratch folder"
run=$(cd "$(dirname "$0")/../../tools" && pwd)/wine-run.sh
out=$(cd "$dir" && LC_ALL=C.UTF-8 "$run" "$1/titrion-eval.exe" --recognize --format=csv "*.tid" | tr -d '\r')
[ "$out" = "$(printf 'file,n,volume,result,unit\nuhličitan.tid,1,10,,\nuhličitan.tid,2,19.996694214876033,,')" ] || fail "titrion-eval.exe: $out"
echo "release: 1 passed, 0 failed"
