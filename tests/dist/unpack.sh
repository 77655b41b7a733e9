#!/bin/sh
# Unpacks the release archive into a scratch folder for the test that starts it there.
# $1: the archive, $2: the scratch folder.
if [ ! -f "$1" ]; then
  echo "no release archive at $1: run make dist" >&2
  exit 1
fi
rm -rf "$2"
mkdir -p "$2"
unzip -q "$1" -d "$2"
