#!/bin/sh
# The manual in the unpacked release reads as Czech in both forms.
# $1: the unpacked titrion3 folder.
set -e
dir=$1
fail() { echo "$*" >&2; exit 1; }
text=$(pdftotext -enc UTF-8 "$dir/titrion2.pdf" -)
for phrase in "uživatelská příručka" "Bod ekvivalence" "Klávesové zkratky" "Ctrl+G" \
              "Zobrazovat" "Chyba při zápisu do souboru." "titrion2.ini" "2,6875"; do
  printf '%s' "$text" | grep -qF "$phrase" || fail "titrion2.pdf lacks: $phrase"
done
pages=$(pdfinfo "$dir/titrion2.pdf" | sed -n 's/^Pages: *//p')
[ "$pages" -ge 4 ] || fail "titrion2.pdf has only $pages pages"
head -c 5 "$dir/titrion2.rtf" | grep -qF '{\rtf' || fail "titrion2.rtf is no RTF document"
# "příručka" with its Czech letters as RTF Unicode escapes.
grep -qF 'p\u345?\u237?ru\u269?ka' "$dir/titrion2.rtf" || fail "titrion2.rtf lacks the Czech title"
echo "manual: 1 passed, 0 failed"
