#!/usr/bin/env bash
# Re-render the hicolor PNG icons from kamorin.svg (requires rsvg-convert from librsvg2-bin).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
svg="$here/kamorin.svg"

for n in 16 32 48 64 128 256; do
    out="$here/hicolor/${n}x${n}/kamorin.png"
    mkdir -p "$(dirname "$out")"
    rsvg-convert --width "$n" --height "$n" --format png --output "$out" "$svg"
done
