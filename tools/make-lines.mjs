// Writes the world's coastlines and country borders as polylines in a small binary file, for
// maps that draw them as vectors through their projection (ui/map/world_lines.h reads it).
//
// Usage: node make-lines.mjs <land-50m.json> <countries-50m.json> > traits.bin
//
// Coastlines are the outlines of the land; borders are the boundaries shared by two countries
// (the outer edges of the countries are coastlines already). The land polygons of the source are
// cut along 180° and closed along 90° S: those edges are no coast and are left out, splitting the
// polyline they belong to. A segment between two consecutive points may still cross 180° (from
// 179.9° E to 179.9° W, say): a map draws it through its projection.
//
// Format, little-endian:
//   offset 0   4 bytes   "TRTS"
//          4   uint16    version, 1
//          6   uint16    0
//          8   uint32    number of polylines P
//         12   uint32    number of points N, all polylines together
//         16   P x 8     per polyline: uint32 number of its points (2 or more), uint8 kind
//                        (0 coastline, 1 border), 3 bytes 0
//   16 + 8P    N x 4     the points, polyline after polyline: int16 latitude, int16 longitude,
//                        in steps of 360/65536 degree, north and WEST positive
// and nothing after: the size is exactly 16 + 8P + 4N.
//
// A step is 0.0055°, so a point lies within 0.0028° of its source (0.0055° on 180° W, which is
// kept on its side as 32767 steps rather than wrapped to 180° E); the source itself is quantised
// to 0.0036° of longitude. Consecutive points that fall on the same step are merged.
import { readFileSync } from "node:fs";
import { mesh } from "topojson-client";

const [landFile, countriesFile] = process.argv.slice(2);
if (!landFile || !countriesFile || process.stdout.isTTY) {
  console.error("usage: node make-lines.mjs <land-50m.json> <countries-50m.json> > traits.bin");
  process.exit(2);
}

const COAST = 0;
const BORDER = 1;
const STEPS_PER_DEGREE = 65536 / 360;

const land = JSON.parse(readFileSync(landFile, "utf8"));
const countries = JSON.parse(readFileSync(countriesFile, "utf8"));
const coastLines = mesh(land, land.objects.land).coordinates;
const borderLines = mesh(countries, countries.objects.countries, (a, b) => a !== b).coordinates;

// An edge the source adds to close a polygon: along the 180° cut or along the south pole.
function isCut([lon1, lat1], [lon2, lat2]) {
  const onAntimeridian = (lon) => Math.abs(lon) >= 180 - 1e-9;
  return (onAntimeridian(lon1) && onAntimeridian(lon2)) || (lat1 < -89.99 && lat2 < -89.99);
}

// [lon east, lat] degrees to [lat, lon west] steps.
function quantise([lon, lat]) {
  const clamp = (v) => Math.max(-32768, Math.min(32767, v));
  return [clamp(Math.round(lat * STEPS_PER_DEGREE)), clamp(Math.round(-lon * STEPS_PER_DEGREE))];
}

const polylines = [];
function add(kind, points) {
  const steps = [];
  for (const p of points) {
    const q = quantise(p);
    const last = steps[steps.length - 1];
    if (!last || last[0] !== q[0] || last[1] !== q[1]) {
      steps.push(q);
    }
  }
  if (steps.length >= 2) {
    polylines.push({ kind, steps });
  }
}
for (const line of coastLines) {
  let run = [line[0]];
  for (let i = 1; i < line.length; ++i) {
    if (isCut(line[i - 1], line[i])) {
      add(COAST, run);
      run = [];
    }
    run.push(line[i]);
  }
  add(COAST, run);
}
for (const line of borderLines) {
  add(BORDER, line);
}

const pointCount = polylines.reduce((n, p) => n + p.steps.length, 0);
const out = Buffer.alloc(16 + 8 * polylines.length + 4 * pointCount);
out.write("TRTS", 0, "latin1");
out.writeUInt16LE(1, 4);
out.writeUInt32LE(polylines.length, 8);
out.writeUInt32LE(pointCount, 12);
let table = 16;
let at = 16 + 8 * polylines.length;
for (const { kind, steps } of polylines) {
  out.writeUInt32LE(steps.length, table);
  out.writeUInt8(kind, table + 4);
  table += 8;
  for (const [lat, lon] of steps) {
    out.writeInt16LE(lat, at);
    out.writeInt16LE(lon, at + 2);
    at += 4;
  }
}
process.stdout.write(out);
const count = (kind) => polylines.filter((p) => p.kind === kind).length;
console.error(
  `make-lines: ${count(COAST)} coastlines, ${count(BORDER)} borders, ${pointCount} points, ` +
    `${out.length} bytes`,
);
