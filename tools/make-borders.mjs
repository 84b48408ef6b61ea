// Writes the country borders of the world map as an SVG the size of the map.
//
// Usage: node make-borders.mjs <countries-50m.json> <width> <height> <stroke-width>
//
// Only the boundaries shared by two countries are drawn: the coastlines are
// already visible in the relief image underneath. The projection is plate
// carrée with 180° W on the left edge and 90° N on the top edge, the same
// grid as the relief image, and d3 cuts the lines at the antimeridian.
import { readFileSync } from "node:fs";
import { geoEquirectangular, geoPath } from "d3-geo";
import { mesh } from "topojson-client";

const [file, w, h, stroke] = process.argv.slice(2);
const width = Number(w);
const height = Number(h);
const strokeWidth = Number(stroke);
if (!file || !(width > 0) || height * 2 !== width || !(strokeWidth > 0)) {
  console.error("usage: node make-borders.mjs <countries.json> <width> <width/2> <stroke-width>");
  process.exit(2);
}

const world = JSON.parse(readFileSync(file, "utf8"));
const borders = mesh(world, world.objects.countries, (a, b) => a !== b);

// scale = width / 2π puts ±180° on the two edges; precision(0) keeps the
// source vertices as they are instead of resampling along great circles.
const projection = geoEquirectangular()
  .scale(width / (2 * Math.PI))
  .translate([width / 2, height / 2])
  .precision(0);
const path = geoPath(projection).digits(2);

process.stdout.write(
  `<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="0 0 ${width} ${height}">\n` +
    `<path d="${path(borders)}" fill="none" stroke="#141414" stroke-opacity="0.75" ` +
    `stroke-width="${strokeWidth}" stroke-linejoin="round" stroke-linecap="round"/>\n` +
    `</svg>\n`,
);
