import test from 'node:test';
import assert from 'node:assert/strict';
import { feature } from 'topojson-client';
import { buildMovie, adjacency } from '../lib/movie.mjs';
import { checkMovie } from '../lib/checks.mjs';
import { pointInGeometry } from '../lib/geo.mjs';

// Clockwise lon/lat boxes, as d3 wants exteriors.
const box = (x0, y0, x1, y1) => [[x0, y0], [x0, y1], [x1, y1], [x1, y0], [x0, y0]];
const region = (key, name, rings, inset) => ({ type: 'Feature', properties: { key, name, ...(inset != null ? { inset } : {}) }, geometry: { type: 'Polygon', coordinates: rings } });

const def = () => ({
  stem: 'Test', title: 'Test', attribution: 'Made with Natural Earth.', kind: 'regioncity',
  proj: { type: 'laea', lat0: 50, lon0: 10 }, densify: 0.2,
  regions: [
    region('T-N', 'North', [box(8, 51, 12, 53)]),
    // the south has a lake-like hole
    region('T-S', 'South', [box(8, 48, 12, 51), box(9, 49, 11, 50).slice().reverse()]),
    region('T-I', 'Island', [box(20, 40, 21, 41)], 0),
  ],
  insets: [{ proj: { type: 'laea', lat0: 40.5, lon0: 20.5 }, box: [-0.5, 0.6, -0.1, 1.0] }],
  context: [{ type: 'Feature', properties: { group: 'X', kind: 'land' }, geometry: { type: 'Polygon', coordinates: [box(12, 48, 14, 53)] } }],
  cities: [{ name: 'Northtown', region: 'North', lon: 10, lat: 52 }, { name: 'Port', region: 'Island', lon: 20.5, lat: 40.5, inset: 0 }],
});

test('a movie is a screen-oriented TopoJSON with labels, context and cities', async () => {
  const { movie, json } = await buildMovie(def());
  assert.ok(!json.includes('\n'));
  assert.deepEqual(Object.keys(movie), ['type', 'transform', 'arcs', 'tolvane', 'objects']);
  const fs = new Map(feature(movie, movie.objects.regions).features.map((f) => [f.properties.key, f]));
  const n = fs.get('T-N').properties.label, s = fs.get('T-S').properties.label;
  assert.ok(n[1] < s[1], 'north is drawn above south');
  for (const f of fs.values()) assert.ok(pointInGeometry(f.properties.label, f.geometry), f.properties.key);
  const south = fs.get('T-S').geometry;
  assert.equal(south.coordinates.length, 2, 'the hole survives');
  assert.equal(movie.objects.context.geometries[0].properties.kind, 'land');
  const [vx0, vy0, vx1, vy1] = movie.tolvane.viewBox;
  for (const f of fs.values()) for (const [x, y] of f.geometry.coordinates[0]) assert.ok(x >= vx0 && x <= vx1 && y >= vy0 && y <= vy1);
  const chart = { regions: [], cities: [{ id: '1', name: 'Northtown', region: 'North' }, { id: '2', name: 'Port', region: 'Island' }] };
  assert.deepEqual(checkMovie('Test', movie, chart, { kind: 'regioncity', regions: 3, cities: 2 }), []);
});

test('inset parts and their cities are moved into the inset box together', async () => {
  const { movie } = await buildMovie(def());
  const t = movie.transform;
  const island = feature(movie, movie.objects.regions).features.find((f) => f.properties.key === 'T-I');
  const port = movie.objects.cities.geometries.find((c) => c.properties.name === 'Port');
  const xy = [port.coordinates[0] * t.scale[0] + t.translate[0], port.coordinates[1] * t.scale[1] + t.translate[1]];
  assert.ok(pointInGeometry(xy, island.geometry), 'the port lies on its island');
  const main = feature(movie, movie.objects.regions).features.find((f) => f.properties.key === 'T-N');
  const minMainX = Math.min(...main.geometry.coordinates[0].map((p) => p[0]));
  assert.ok(Math.max(...island.geometry.coordinates[0].map((p) => p[0])) < minMainX, 'the inset sits left of the mainland');
});

test('neighbours are found through shared arcs only', async () => {
  const { movie } = await buildMovie(def());
  const adj = adjacency(movie);
  assert.ok(adj.get('T-N').has('T-S'));
  assert.equal(adj.get('T-I').size, 0);
});

test('the checker reports missing shapes, wrong kinds and duplicate keys', async () => {
  const { movie } = await buildMovie(def());
  const errs = checkMovie('Test', movie, { regions: [{ id: '1', key: 'T-X', name: 'Nowhere' }], cities: [{ id: '1', name: 'Ghost', region: 'North' }] }, { kind: 'region', regions: 4 });
  assert.ok(errs.some((e) => /kind regioncity/.test(e)));
  assert.ok(errs.some((e) => /T-X \(Nowhere\) has no shape/.test(e)));
  assert.ok(errs.some((e) => /Ghost/.test(e)));
  assert.ok(errs.some((e) => /3 regions, expected 4/.test(e)));
  movie.objects.regions.geometries[1].properties.key = movie.objects.regions.geometries[0].properties.key;
  assert.ok(checkMovie('Test', movie, { regions: [], cities: [] }, { kind: 'regioncity' }).some((e) => /duplicate key/.test(e)));
});

test('building twice gives the same bytes', async () => {
  assert.equal((await buildMovie(def())).json, (await buildMovie(def())).json);
});
