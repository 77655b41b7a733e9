#!/bin/sh
# Builds the user manual beside the program: titrion2.rtf and titrion2.pdf from one
# Markdown source. $1: the source folder (docs/help), $2: the output folder.
set -e
src=$1
out=$2
mkdir -p "$out"
# The manual's pictures are the read-me's (docs/*.png), named relative to the source.
pandoc --standalone --from markdown --to rtf --resource-path "$src" \
  --output "$out/titrion2.rtf" "$src/titrion2.md"
# The PDF goes through HTML: weasyprint lays it out with the DejaVu fonts, which hold
# every Czech letter.
pandoc --standalone --self-contained --resource-path "$src" --from markdown --to html5 --toc --toc-depth 2 \
  --metadata toc-title="Obsah" \
  --output "$out/titrion2.html" "$src/titrion2.md"
# The template's screen styles use rules weasyprint does not know; its warnings are noise.
weasyprint --quiet --stylesheet "$src/print.css" "$out/titrion2.html" "$out/titrion2.pdf"
rm -f "$out/titrion2.html"
