// Verifies everything under data/: node check.mjs
// Exit code 1 and a list of problems when anything is off.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseXml, chartEntries, checkMovie, serialize, child, textOf } from './lib/checks.mjs';
import { SHADE_MAPS, CITY_MAPS, REGION_CITY_MAPS, SHOW_NAMES, CITY_SHOW_NAMES } from './lib/catalogue.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const DATA = path.resolve(here, '../../data');

// Region counts per map (the "Map" page list, in its order).
export const REGION_COUNTS = {
  World: 236, World2: 236, Africa: 56, Asia: 51, Europe: 52, Europe1: 27, Europe2: 32, 'South American': 14,
  Mediterranean: 22, 'Middle-East': 17, 'South East Asia': 11, Argentine: 24, Australia: 8, Austria: 9, Belarus: 7,
  Belgium: 11, Brazil: 27, Bulgaria_NUTS2: 6, Burundi: 17, Canada: 13, China: 34, 'CN-HongKong': 18, Czech: 14,
  Czech_NUTS2: 8, Denmark: 5, Finland: 19, France: 18, Germany: 16, Germany_NUTS2: 38, DE_Berlin: 12, Greece: 13,
  Hungary: 20, Hungary_NUTS2: 8, India: 36, Indonesia: 33, Ireland: 26, Ireland_NUTS2: 3, Italy: 20, Japan: 47,
  Mexico: 32, Netherlands: 12, Poland: 16, Portugal: 20, Portugal_NUTS2: 7, Romania: 42, Slovakia: 8,
  Slovakia_NUTS2: 4, Slovenia_NUTS2: 2, 'South Africa': 9, 'South Korea': 17, Spain: 19, Sweden: 21, Sweden_NUTS2: 8,
  'United Kingdom': 12, UK_NUTS2: 41, 'United States': 51, 'New Jersey': 21, 'New York': 62, 'US and CA': 64,
};
const BASE_COUNTS = { ...REGION_COUNTS, Thailand: 77 };
export const CITY_COUNTS = {
  WorldCity: 100, EuropeCity: 95, CNCity: 41, FranceCity: 37, GermanyCity: 36, ItalyCity: 31, JapanCity: 22,
  SouthKoreaCity: 17, SpainCity: 28, ThailandCity: 20, UKCity: 32, USACity: 33,
  WorldRC: 100, ChinaRC: 41, GermanyRC: 36, NetherlandsRC: 23, USAPCity: 33,
};

const MAX_MOVIE = 1.5 * 1024 * 1024;
const MAX_DATA = 40 * 1024 * 1024;
const problems = [];
const fail = (m) => problems.push(m);
const read = (f) => fs.readFileSync(path.join(DATA, f), 'utf8');

function checkPair(stem, expect, xmlRoot, showtext) {
  for (const ext of ['map', 'xml']) if (!fs.existsSync(path.join(DATA, `${stem}.${ext}`))) { fail(`${stem}.${ext} missing`); return null; }
  const size = fs.statSync(path.join(DATA, `${stem}.map`)).size;
  if (size > MAX_MOVIE) fail(`${stem}.map is ${size} bytes`);
  let movie, doc;
  try { movie = JSON.parse(read(`${stem}.map`)); } catch (e) { fail(`${stem}.map: ${e.message}`); return null; }
  const xml = read(`${stem}.xml`);
  try { doc = parseXml(xml); } catch (e) { fail(`${stem}.xml: ${e.message}`); return null; }
  if (serialize(doc) !== xml) fail(`${stem}.xml does not round-trip byte for byte`);
  if (doc.name !== xmlRoot) fail(`${stem}.xml root ${doc.name}, expected ${xmlRoot}`);
  if (showtext != null && textOf(doc, 'showtext') !== (showtext ? '-1' : '0')) fail(`${stem}.xml showtext`);
  const entries = chartEntries(doc);
  problems.push(...checkMovie(stem, movie, entries, expect));
  return { movie, doc, entries, size };
}

let largest = ['', 0];
const note = (stem, r) => { if (r && r.size > largest[1]) largest = [stem, r.size]; };

for (const [stem, n] of Object.entries(REGION_COUNTS)) {
  const r = checkPair(stem, { kind: 'region', regions: n }, 'provinces', SHOW_NAMES.has(stem));
  note(stem, r);
  if (r && r.doc && child(r.doc, 'plegends') && textOf(child(r.doc, 'plegends'), 'plegendcount') !== '6') fail(`${stem}: legend count`);
  if (r && textOf(r.doc, 'regions') !== String(n)) fail(`${stem}.xml regions element`);
  if (r) {
    const names = r.entries.regions.map((e) => e.name);
    const sorted = [...names].sort(new Intl.Collator('en', { sensitivity: 'variant' }).compare);
    if (names.join('|') !== sorted.join('|')) fail(`${stem}: regions not in name order`);
  }
}
for (const [stem, base] of SHADE_MAPS) {
  const r = checkPair(stem, { kind: 'region', regions: REGION_COUNTS[base] }, 'provinces', true);
  note(stem, r);
  if (r && !/<value>0<\/value>\n\s*<shade>1<\/shade>/.test(read(`${stem}.xml`))) fail(`${stem}: no shade elements`);
}
for (const [stem, base] of CITY_MAPS) {
  note(stem, checkPair(stem, { kind: 'city', regions: BASE_COUNTS[base], cities: CITY_COUNTS[stem] }, 'cities', CITY_SHOW_NAMES.has(stem)));
}
for (const [stem, base] of REGION_CITY_MAPS) {
  const r = checkPair(stem, { kind: 'regioncity', regions: BASE_COUNTS[base], cities: CITY_COUNTS[stem] }, 'map', null);
  note(stem, r);
  if (r && textOf(r.doc, 'border') !== '8421504') fail(`${stem}: border`);
}

// Screen orientation: north must be up (y grows downward).
function labelOf(stem, key) {
  const m = JSON.parse(read(`${stem}.map`));
  return m.objects.regions.geometries.find((g) => g.properties.key === key).properties.label;
}
for (const [stem, north, south] of [['World', 'NO', 'ZA'], ['Germany', 'DE-SH', 'DE-BY'], ['United States', 'US-ND', 'US-TX'], ['Australia', 'AU-NT', 'AU-TAS'], ['CN-HongKong', 'HK.NO', 'HK.SO']]) {
  if (!(labelOf(stem, north)[1] < labelOf(stem, south)[1])) fail(`${stem}: ${north} is not above ${south}`);
}

// Blank and flag movies.
const blank = JSON.parse(read('cmap1.map'));
if (blank.tolvane.kind !== 'blank' || blank.tolvane.attribution !== '') fail('cmap1.map is not a blank movie');
for (const [file, style] of [['flag1.cht', 'flag1'], ['flag2.cht', 'flag2'], ['flag3.cht', 'flag3']]) {
  const m = JSON.parse(read(file));
  if (m.tolvane.kind !== 'flag' || m.tolvane.style !== style) fail(`${file} is not a ${style} flag movie`);
}

// Country codes and flags.
const tsv = read('countrycodes.tsv').split('\n');
if (tsv[0] !== 'code\tname' || tsv[tsv.length - 1] !== '') fail('countrycodes.tsv header or final newline');
const codes = tsv.slice(1, -1).map((l) => l.split('\t'));
if (codes.some(([c, n]) => !/^[A-Z]{2}$/.test(c) || !n)) fail('countrycodes.tsv has a bad line');
if (codes.map((c) => c[0]).join() !== codes.map((c) => c[0]).sort().join()) fail('countrycodes.tsv not sorted');
if (!codes.some(([c]) => c === 'XK')) fail('countrycodes.tsv lacks XK');
for (const [c] of codes) if (!fs.existsSync(path.join(DATA, 'flags', `${c.toLowerCase()}.svg`))) fail(`no flag for ${c}`);
const world = JSON.parse(read('World.map'));
for (const g of world.objects.regions.geometries) {
  if (!codes.some(([c]) => c === g.properties.key)) fail(`World key ${g.properties.key} not in countrycodes.tsv`);
}
for (const f of ['ATTRIBUTION.txt', 'flags/LICENSE']) if (!fs.existsSync(path.join(DATA, f))) fail(`${f} missing`);
if (!/non-commercial/i.test(read('ATTRIBUTION.txt'))) fail('ATTRIBUTION.txt does not state the GISCO condition');

// Nothing unexpected and the size budget.
let total = 0;
const walk = (d) => { for (const e of fs.readdirSync(d, { withFileTypes: true })) { const p = path.join(d, e.name); if (e.isDirectory()) walk(p); else total += fs.statSync(p).size; } };
walk(DATA);
if (total > MAX_DATA) fail(`data/ is ${total} bytes`);

if (problems.length) {
  console.log(problems.join('\n'));
  console.log(`${problems.length} problems`);
  process.exit(1);
}
console.log(`data/ fine: ${Object.keys(REGION_COUNTS).length} region maps, ${SHADE_MAPS.length} shade, ${CITY_MAPS.length} city, ${REGION_CITY_MAPS.length} region-city; largest movie ${largest[0]} ${(largest[1] / 1024).toFixed(0)} KB; data/ ${(total / 1024 / 1024).toFixed(1)} MB`);
