#!/usr/bin/env bash
# Renders the PNG sizes of the program's icon from its SVG (needs rsvg-convert, Debian's
# librsvg2-bin). Run after changing packaging/icons/io.github.kelvane.Kelvane.svg and
# commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
id=io.github.kelvane.Kelvane
for n in 48 64 128 256; do
  mkdir -p "${n}x${n}"
  rsvg-convert -w "$n" -h "$n" "$id.svg" -o "${n}x${n}/$id.png"
done
