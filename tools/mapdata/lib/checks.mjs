// Checks on shipped data, shared by check.mjs and the tests.
import { feature } from 'topojson-client';
import { pointInGeometry } from './geo.mjs';

// Minimal reader of the chart data files: element tree with text.
export function parseXml(text) {
  if (!text.startsWith('<?xml version="1.0" encoding="utf-8"?>\n')) throw new Error('bad XML declaration');
  const root = { name: '#root', children: [] };
  const stack = [root];
  const re = /<(\/?)([a-z]+)((?:\s+[a-z]+="[^"]*")*)\s*>([^<]*)/g;
  const body = text.slice(text.indexOf('\n') + 1);
  let m;
  while ((m = re.exec(body))) {
    const [, close, name, attrs, after] = m;
    if (close) {
      const top = stack.pop();
      if (top.name !== name) throw new Error(`mismatched </${name}>`);
      continue;
    }
    const el = { name, attrs: Object.fromEntries([...attrs.matchAll(/([a-z]+)="([^"]*)"/g)].map((a) => [a[1], unescape(a[2])])), children: [], text: unescape(after) };
    stack[stack.length - 1].children.push(el);
    stack.push(el);
  }
  if (stack.length !== 1 || root.children.length !== 1) throw new Error('unbalanced XML');
  return root.children[0];
}

function unescape(s) {
  return s.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"').replace(/&amp;/g, '&');
}

export const child = (el, name) => el.children.find((c) => c.name === name);
export const kids = (el, name) => el.children.filter((c) => c.name === name);
export const textOf = (el, name) => child(el, name)?.text;

// Regions, cities and the flags of a chart data file, whatever its kind.
export function chartEntries(doc) {
  if (doc.name === 'provinces') return { regions: kids(doc, 'province').map(region), cities: [] };
  if (doc.name === 'cities') return { regions: [], cities: kids(doc, 'city').map(city) };
  if (doc.name === 'map') {
    return { regions: kids(child(doc, 'provinces'), 'province').map(region), cities: kids(child(doc, 'cities'), 'city').map(city) };
  }
  throw new Error(`unknown root ${doc.name}`);
}
const region = (e) => ({ id: e.attrs.id, name: textOf(e, 'name'), key: textOf(e, 'shortname'), colour: Number(textOf(e, 'bgcolor')) });
const city = (e) => ({ id: e.attrs.id, name: textOf(e, 'name'), region: textOf(e, 'country') });

// Problems of one movie against its chart data (empty list when fine).
export function checkMovie(stem, movie, entries, expect) {
  const errs = [];
  const t = movie.tolvane;
  if (movie.type !== 'Topology') errs.push('not a Topology');
  if (!t || t.kind !== expect.kind) errs.push(`kind ${t && t.kind}, expected ${expect.kind}`);
  if (!t.title || typeof t.attribution !== 'string' || !t.attribution) errs.push('title or attribution missing');
  const [x0, y0, x1, y1] = t.viewBox || [];
  if (!(x1 > x0 && y1 > y0)) errs.push('bad viewBox');
  const s = movie.transform && movie.transform.scale;
  if (!s || !(s[0] > 0 && s[1] > 0)) errs.push('missing or non-positive transform');
  const regions = movie.objects.regions ? movie.objects.regions.geometries : [];
  const keys = new Set();
  const feats = movie.objects.regions ? feature(movie, movie.objects.regions).features : [];
  for (const [i, g] of regions.entries()) {
    const p = g.properties;
    if (g.type !== 'Polygon' && g.type !== 'MultiPolygon') errs.push(`${p.key}: geometry ${g.type}`);
    if (!p.key || !p.name) errs.push(`region without key or name: ${JSON.stringify(p)}`);
    if (keys.has(p.key)) errs.push(`duplicate key ${p.key}`);
    keys.add(p.key);
    if (!Array.isArray(p.label) || !pointInGeometry(p.label, feats[i].geometry)) errs.push(`${p.key}: label not inside the region`);
  }
  for (const g of movie.objects.context ? movie.objects.context.geometries : []) {
    if (!['land', 'water'].includes(g.properties.kind)) errs.push(`context kind ${g.properties.kind}`);
  }
  if (expect.regions != null && regions.length !== expect.regions) errs.push(`${regions.length} regions, expected ${expect.regions}`);
  // Stray lines: a border segment spanning most of the map means a ring
  // crossed the antimeridian unsplit.
  const w = x1 - x0;
  const used = new Set();
  const collect = (a) => (Array.isArray(a) ? a.forEach(collect) : used.add(a < 0 ? ~a : a));
  regions.forEach((g) => collect(g.arcs));
  for (const i of used) {
    movie.arcs[i].slice(1).forEach(([dx]) => { if (Math.abs(dx * s[0]) > w * 0.5) errs.push(`arc ${i} jumps across the map`); });
  }
  for (const e of entries.regions) {
    if (!keys.has(e.key)) errs.push(`chart region ${e.key} (${e.name}) has no shape`);
    const g = regions.find((r) => r.properties.key === e.key);
    if (g && g.properties.name !== e.name) errs.push(`${e.key}: chart name ${e.name} vs movie ${g.properties.name}`);
  }
  if (entries.regions.length && entries.regions.length !== regions.length) errs.push('chart and movie region counts differ');
  const cities = movie.objects.cities ? movie.objects.cities.geometries : [];
  const cityKeys = new Set(cities.map((c) => `${c.properties.name}|${c.properties.region}`));
  if (cityKeys.size !== cities.length) errs.push('duplicate city');
  for (const c of entries.cities) if (!cityKeys.has(`${c.name}|${c.region}`)) errs.push(`chart city ${c.name} (${c.region}) has no point`);
  if (expect.cities != null && cities.length !== expect.cities) errs.push(`${cities.length} cities, expected ${expect.cities}`);
  if (expect.cities != null && entries.cities.length !== cities.length) errs.push('chart and movie city counts differ');
  for (const c of cities) {
    const [qx, qy] = c.coordinates;
    const x = qx * s[0] + movie.transform.translate[0], y = qy * s[1] + movie.transform.translate[1];
    if (x < x0 || x > x1 || y < y0 || y > y1) errs.push(`city ${c.properties.name} outside the view`);
    if (!regions.some((r) => r.properties.name === c.properties.region)) errs.push(`city ${c.properties.name}: unknown region ${c.properties.region}`);
  }
  if (entries.regions.some((e, i) => e.id !== String(i + 1)) || entries.cities.some((e, i) => e.id !== String(i + 1))) errs.push('ids not 1..n');
  return errs.map((e) => `${stem}: ${e}`);
}

// Writes a parsed chart data file back in the program's layout; a shipped
// file must come back byte for byte.
export function serialize(doc) {
  const lines = ['<?xml version="1.0" encoding="utf-8"?>'];
  const esc = (v) => v.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
  const walk = (el, depth) => {
    const pad = '  '.repeat(depth);
    const attrs = Object.entries(el.attrs).map(([k, v]) => ` ${k}="${esc(v).replace(/"/g, '&quot;')}"`).join('');
    if (el.children.length === 0) { lines.push(`${pad}<${el.name}${attrs}>${esc(el.text)}</${el.name}>`); return; }
    lines.push(`${pad}<${el.name}${attrs}>`);
    el.children.forEach((c) => walk(c, depth + 1));
    lines.push(`${pad}</${el.name}>`);
  };
  walk(doc, 0);
  return lines.join('\n') + '\n';
}
