#!/usr/bin/env bash
# Regenerates the image resources in ui/resources/ from their sources.
#
#   tools/make-resources.sh
#
# Run it by hand after changing an SVG under ui/resources/src/ or the map
# recipe below, then commit the regenerated files. The build never runs it:
# it only uses the committed PNG and JPEG files.
#
# Needs: node and npm (Node.js 20), rsvg-convert (Debian: librsvg2-bin) and
# ImageMagick's convert (Debian: imagemagick). The npm packages are fetched at
# the pinned versions below into a temporary folder that is removed at the end.
#
# World map (carte.jpg 642x321, carte@2x.jpg 1284x642: exactly the map control's 9630 x 4815
# twips at 15 and 7.5 twips per pixel, so that a pixel of the picture lies where the
# readouts place it), plate carrée with
# 180° W on the left edge and 90° N on the top edge:
#   - relief: the Natural Earth II shaded-relief tiles (with water and ocean
#     bottom) shipped in @cesium/engine, zoom level 2 = 8x4 tiles of 256 px
#     covering the whole globe at 0.17578125° per pixel, in TMS order
#     (row 0 at the south);
#   - country borders: Natural Earth admin-0 boundaries at 1:50m from
#     world-atlas, drawn by tools/make-borders.mjs.
# World picture (monde.jpg 2048x1024, the relief mosaic itself at the tiles' full
# resolution, same grid, without borders) and the coastlines and country borders
# as polylines (traits.bin, written by tools/make-lines.mjs from world-atlas's
# land and countries at 1:50m): a map that reprojects the picture draws the lines
# through its projection, sharp at any zoom.
# Icons, title-bar glyphs and the hand pointer are rasterised from the SVG
# files in ui/resources/src/.
set -euo pipefail

readonly CESIUM_ENGINE=@cesium/engine@26.3.0
readonly WORLD_ATLAS=world-atlas@2.0.2
readonly D3_GEO=d3-geo@3.1.2
readonly TOPOJSON_CLIENT=topojson-client@3.1.0

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
res=$root/ui/resources
src=$res/src

for tool in node npm rsvg-convert convert; do
  command -v "$tool" >/dev/null || {
    echo "make-resources: '$tool' is missing (see the header of this script)" >&2
    exit 1
  }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== npm packages"
npm install --prefix "$work" --no-save --no-audit --no-fund --ignore-scripts --loglevel=error \
  "$D3_GEO" "$TOPOJSON_CLIENT" "$WORLD_ATLAS"
# Only the imagery is wanted from the Cesium engine: unpack its tarball
# rather than install the library and its dependencies.
tarball=$(cd "$work" && npm pack --silent "$CESIUM_ENGINE")
tiles=package/Source/Assets/Textures/NaturalEarthII/2
tar -xzf "$work/$tarball" -C "$work" "$tiles"

echo "== relief mosaic"
rows=()
for y in 3 2 1 0; do # north row first
  row=()
  for x in 0 1 2 3 4 5 6 7; do
    row+=("$work/$tiles/$x/$y.jpg")
  done
  convert "${row[@]}" +append "$work/row$y.png"
  rows+=("$work/row$y.png")
done
convert "${rows[@]}" -append "$work/relief.png"
size=$(convert "$work/relief.png" -format '%wx%h' info:)
[[ $size == 2048x1024 ]] || {
  echo "make-resources: unexpected relief size $size" >&2
  exit 1
}

echo "== world picture and lines"
# The tiles are JPEG already: quality 90 without chroma subsampling adds little
# loss and keeps the file near 450 KB.
convert "$work/relief.png" +repage -strip -quality 90 -sampling-factor 1x1 "$res/monde.jpg"
echo "$res/monde.jpg"
cp "$root/tools/make-lines.mjs" "$work/"
node "$work/make-lines.mjs" "$work/node_modules/world-atlas/land-50m.json" \
  "$work/node_modules/world-atlas/countries-50m.json" >"$res/traits.bin"
echo "$res/traits.bin"

cp "$root/tools/make-borders.mjs" "$work/"
# make_map WIDTH BORDER_WIDTH OUTPUT
make_map() {
  local width=$1 stroke=$2 out=$3 height=$(($1 / 2))
  node "$work/make-borders.mjs" "$work/node_modules/world-atlas/countries-50m.json" \
    "$width" "$height" "$stroke" >"$work/borders-$width.svg"
  rsvg-convert "$work/borders-$width.svg" -o "$work/borders-$width.png"
  convert "$work/relief.png" -filter Lanczos -resize "${width}x${height}!" \
    -unsharp 0x0.5+0.5+0 "$work/borders-$width.png" -composite \
    -strip -quality 90 -sampling-factor 1x1 "$out"
  echo "$out"
}

echo "== world map"
make_map 642 0.9 "$res/carte.jpg"
make_map 1284 1.5 "$res/carte@2x.jpg"

# png SVG SIZE OUTPUT
png() {
  mkdir -p "$(dirname "$3")"
  rsvg-convert -w "$2" -h "$2" "$1" -o "$3"
  echo "$3"
}

echo "== icons"
for n in 16 24 32; do
  png "$src/orbida-small.svg" "$n" "$res/icons/hicolor/${n}x${n}/apps/orbida.png"
done
for n in 48 64 128 256; do
  png "$src/orbida.svg" "$n" "$res/icons/hicolor/${n}x${n}/apps/orbida.png"
done
mkdir -p "$res/icons/hicolor/scalable/apps"
cp "$src/orbida.svg" "$res/icons/hicolor/scalable/apps/orbida.svg"
png "$src/orbida-small.svg" 32 "$res/icon.png"
png "$src/orbida.svg" 64 "$res/icon@2x.png"

echo "== glyphs and pointer"
png "$src/minimise.svg" 13 "$res/minimise.png"
png "$src/minimise.svg" 26 "$res/minimise@2x.png"
png "$src/quitte.svg" 13 "$res/quitte.png"
png "$src/quitte.svg" 26 "$res/quitte@2x.png"
png "$src/hand.svg" 32 "$res/hand.png"
png "$src/hand.svg" 64 "$res/hand@2x.png"
