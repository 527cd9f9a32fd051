// Region builders: select and key the features of a source. Features carry
// {key, name} (and {inset} for parts drawn in an inset); pieces that share a
// key are dissolved into one region by the movie builder.
import {
  vs50, ne1, ne1Country, countryName, m49Members, isoSubdivisions, bkgKreise, usAtlas,
} from './sources.mjs';
import { geometryBounds, partsInBox } from './geo.mjs';

const feat = (geometry, properties) => ({ type: 'Feature', properties, geometry });

// ---- countries (VS50) ----
export function vsCountries(codes) {
  return vs50().filter((f) => codes(f.properties.a2))
    .map((f) => feat(f.geometry, { key: f.properties.a2, name: countryName(f.properties.a2) }));
}

// Context sources are functions of the lon/lat box the map's context must cover, which is
// known only once the regions are projected.
const inBox = (b, box) => b[0] <= box[2] && b[2] >= box[0] && b[1] <= box[3] && b[3] >= box[1];
const featureBounds = new WeakMap();
function boundsOf(f) {
  if (!featureBounds.has(f)) featureBounds.set(f, geometryBounds(f.geometry));
  return featureBounds.get(f);
}

export function vsContext(exclude) {
  return (box) => vs50().filter((f) => !exclude.has(f.properties.a2) && f.properties.a2 !== 'AQ' && inBox(boundsOf(f), box))
    .map((f) => feat(f.geometry, { group: f.properties.a2, kind: 'land' }));
}

export function bothContexts(...sources) {
  return (box) => sources.flatMap((s) => s(box));
}

export const EU27 = ['AT', 'BE', 'BG', 'HR', 'CY', 'CZ', 'DK', 'EE', 'FI', 'FR', 'DE', 'GR', 'HU', 'IE', 'IT', 'LV', 'LT', 'LU', 'MT', 'NL', 'PL', 'PT', 'RO', 'SK', 'SI', 'ES', 'SE'];

export function m49(code) {
  return m49Members(code);
}

// ---- first-level subdivisions (NE1) ----
export function ne1Regions(a3, { key = (p) => p.iso_3166_2, name = (p) => p.name, filter = () => true, inset } = {}) {
  return ne1Country(a3).filter((f) => filter(f.properties)).map((f) => {
    const p = f.properties;
    const props = { key: key(p), name: name(p) };
    if (inset) { const i = inset(p); if (i != null) props.inset = i; }
    return feat(f.geometry, props);
  });
}

// Neighbouring countries' land from the same admin-1 layer, so that shared
// borders match the charted regions exactly.
export function ne1Context(excludeA3) {
  return (box) => ne1().filter((f) => !excludeA3.includes(f.properties.adm0_a3) && inBox(boundsOf(f), box))
    .map((f) => feat(f.geometry, { group: f.properties.adm0_a3, kind: 'land' }));
}

export function isoName(code) {
  const e = isoSubdivisions().get(code);
  if (!e) throw new Error(`no ISO 3166-2 entry ${code}`);
  return e.name;
}

// Groups ISO codes into larger units: table {GROUP: [codes...]}.
export function grouped(features, table, names) {
  const of = new Map();
  for (const [g, codes] of Object.entries(table)) for (const c of codes) of.set(c, g);
  return features.map((f) => {
    const g = of.get(f.properties.key);
    if (!g) throw new Error(`ungrouped ${f.properties.key}`);
    return feat(f.geometry, { key: g, name: names[g] });
  });
}

export function parseGroups(text) {
  const table = {};
  for (const part of text.split('·')) {
    const [g, ...codes] = part.trim().split(/\s+/);
    table[g] = codes;
  }
  return table;
}

// ---- US Census (us-atlas) ----
export const US_POSTAL = {
  '01': 'AL', '02': 'AK', '04': 'AZ', '05': 'AR', '06': 'CA', '08': 'CO', '09': 'CT', 10: 'DE', 11: 'DC', 12: 'FL',
  13: 'GA', 15: 'HI', 16: 'ID', 17: 'IL', 18: 'IN', 19: 'IA', 20: 'KS', 21: 'KY', 22: 'LA', 23: 'ME', 24: 'MD',
  25: 'MA', 26: 'MI', 27: 'MN', 28: 'MS', 29: 'MO', 30: 'MT', 31: 'NE', 32: 'NV', 33: 'NH', 34: 'NJ', 35: 'NM',
  36: 'NY', 37: 'NC', 38: 'ND', 39: 'OH', 40: 'OK', 41: 'OR', 42: 'PA', 44: 'RI', 45: 'SC', 46: 'SD', 47: 'TN',
  48: 'TX', 49: 'UT', 50: 'VT', 51: 'VA', 53: 'WA', 54: 'WV', 55: 'WI', 56: 'WY',
};

export function usStates() {
  return usAtlas().states.filter((f) => +f.id <= 56)
    .map((f) => feat(f.geometry, { key: `US-${US_POSTAL[f.id]}`, name: f.properties.name }));
}

export function usCounties(stateFips) {
  return usAtlas().counties.filter((f) => f.id.startsWith(stateFips))
    .map((f) => feat(f.geometry, { key: f.id, name: `${f.properties.name} County` }));
}

export function usStateContext(excludeFips) {
  return (box) => usAtlas().states.filter((f) => !excludeFips.includes(f.id) && inBox(boundsOf(f), box))
    .map((f) => feat(f.geometry, { group: `US${f.id}`, kind: 'land' }));
}

// ---- German NUTS 2 from the BKG districts ----
export function germanyNuts2(names) {
  return bkgKreise().map((f) => {
    const k = f.properties.NUTS.slice(0, 4);
    return feat(f.geometry, { key: k, name: names[k] });
  });
}

export function bkgLand(excludeAgs = []) {
  return (box) => bkgKreise().filter((f) => !excludeAgs.includes(f.properties.AGS) && inBox(boundsOf(f), box))
    .map((f) => feat(f.geometry, { group: 'DE', kind: 'land' }));
}

export { partsInBox };
