// Builds every map movie, chart data file, flag and code table under the
// repository's data/ folder. Usage: node build.mjs [stem ...]
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { REGION_MAPS, BASE_MAPS } from './lib/maps.mjs';
import { normalizeNames } from './lib/names.mjs';
import { buildMovie, adjacency } from './lib/movie.mjs';
import { colourRegions } from './lib/colour.mjs';
import { regionChart, cityChart, regionCityChart } from './lib/chartxml.mjs';
import { CITY_MAPS, REGION_CITY_MAPS, SHADE_MAPS, SHOW_NAMES, CITY_SHOW_NAMES } from './lib/catalogue.mjs';
import { cityList, CITY_ATTRIBUTION } from './lib/cities.mjs';
import { writeExtras } from './lib/extras.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const DATA = path.resolve(here, '../../data');
const only = new Set(process.argv.slice(2));
const wanted = (stem) => only.size === 0 || only.has(stem);

const byName = new Intl.Collator('en', { sensitivity: 'variant' });
const sortRegions = (list) => list.sort((a, b) => byName.compare(a.name, b.name) || (a.key < b.key ? -1 : 1));

function write(name, content) {
  fs.writeFileSync(path.join(DATA, name), content);
}

const bases = new Map();
async function base(stem) {
  if (bases.has(stem)) return bases.get(stem);
  const def = [...REGION_MAPS, ...BASE_MAPS].find((d) => d.stem === stem);
  const built = await def.build();
  const regions = normalizeNames(stem, built.regions);
  const result = { def, regions, context: built.context };
  bases.set(stem, result);
  return result;
}

async function regionMovie(stem, extra = {}) {
  const b = await base(stem);
  const { movie, json } = await buildMovie({ ...b.def, ...extra, regions: b.regions, context: b.context });
  const colours = colourRegions(adjacency(movie));
  const list = sortRegions(movie.objects.regions.geometries.map((g) => ({ key: g.properties.key, name: g.properties.name, colour: colours.get(g.properties.key) })));
  return { movie, json, list };
}

fs.mkdirSync(DATA, { recursive: true });
const log = (...a) => console.log(...a);

for (const def of REGION_MAPS) {
  if (!wanted(def.stem)) continue;
  const { json, list } = await regionMovie(def.stem, { kind: 'region' });
  write(`${def.stem}.map`, json);
  write(`${def.stem}.xml`, regionChart(list, { showtext: SHOW_NAMES.has(def.stem), shade: false }));
  log(`${def.stem}: ${list.length} regions, ${(json.length / 1024).toFixed(0)} KB`);
}

for (const [stem, baseStem] of SHADE_MAPS) {
  if (!wanted(stem)) continue;
  const { json, list } = await regionMovie(baseStem, { kind: 'region' });
  write(`${stem}.map`, json);
  write(`${stem}.xml`, regionChart(list, { showtext: true, shade: true }));
  log(`${stem}: ${list.length} regions (shade)`);
}

for (const [stem, baseStem, listName] of CITY_MAPS) {
  if (!wanted(stem)) continue;
  const b = await base(baseStem);
  const cities = cityList(listName, b);
  const { json } = await regionMovie(baseStem, {
    kind: 'city', cities, attribution: `${b.def.attribution} ${CITY_ATTRIBUTION}`,
  });
  write(`${stem}.map`, json);
  write(`${stem}.xml`, cityChart(cities, { showtext: CITY_SHOW_NAMES.has(stem) }));
  log(`${stem}: ${cities.length} cities on ${baseStem}`);
}

for (const [stem, baseStem, listName] of REGION_CITY_MAPS) {
  if (!wanted(stem)) continue;
  const b = await base(baseStem);
  const cities = cityList(listName, b);
  const { json, list } = await regionMovie(baseStem, {
    kind: 'regioncity', cities, attribution: `${b.def.attribution} ${CITY_ATTRIBUTION}`,
  });
  write(`${stem}.map`, json);
  write(`${stem}.xml`, regionCityChart(list, cities));
  log(`${stem}: ${list.length} regions + ${cities.length} cities`);
}

if (only.size === 0 || only.has('extras')) writeExtras(DATA);
