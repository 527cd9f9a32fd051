#!/usr/bin/env bash
# Renders the program icon (packaging/icons/tolvane.svg) into the PNG sizes of the hicolor
# theme. Run after changing the drawing; the PNGs are committed so a build needs no renderer.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
command -v rsvg-convert >/dev/null || { echo "needs rsvg-convert (apt-get install librsvg2-bin)" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" tolvane.svg -o "tolvane-$size.png"
done
