import test from 'node:test';
import assert from 'node:assert/strict';
import { feature } from 'topojson-client';
import { buildMovie, adjacency, contextCover, lonLatBox, CONTEXT_WIDE, CONTEXT_TALL } from '../lib/movie.mjs';
import { checkMovie } from '../lib/checks.mjs';
import { pointInGeometry, featuresBounds, makeProjection } from '../lib/geo.mjs';

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

// ---- context land around the view box ----

const contextFeatures = (movie) => feature(movie, movie.objects.context).features;
const onContext = (movie, pt) => contextFeatures(movie).some((f) => pointInGeometry(pt, f.geometry));
const project = (proj, ll) => makeProjection(proj)(ll);
const landAround = (lon0, lat0, r) => ({ type: 'Feature', properties: { group: 'L', kind: 'land' }, geometry: { type: 'Polygon', coordinates: [box(lon0 - r, lat0 - r, lon0 + r, lat0 + r)] } });

test('context covers the view box widened for the preview and heightened for a portrait', async () => {
  const [x0, y0, x1, y1] = contextCover([0, 0, 100, 200]);
  assert.ok(x1 - x0 >= CONTEXT_WIDE * 200 && y1 - y0 >= 200, 'a tall view box gets land beside it');
  assert.ok(Math.abs((x0 + x1) / 2 - 50) < 1e-9 && Math.abs((y0 + y1) / 2 - 100) < 1e-9, 'around its centre');
  const [, v0, , v1] = contextCover([0, 0, 300, 100]);
  assert.ok(v1 - v0 >= CONTEXT_TALL * 300, 'a wide one gets land above and below');
  assert.ok(CONTEXT_WIDE >= 2.6 && CONTEXT_TALL >= 1.45);

  // A sea of land around the test map: the movie's context reaches exactly the cover.
  let asked = null;
  const d = { ...def(), insets: [], regions: def().regions.slice(0, 2), cities: [], context: (llBox) => { asked = llBox; return [landAround(10, 50, 25)]; } };
  const { movie } = await buildMovie(d);
  const cover = contextCover(movie.tolvane.viewBox);
  const b = featuresBounds(contextFeatures(movie));
  const w = cover[2] - cover[0];
  b.forEach((v, i) => assert.ok(Math.abs(v - cover[i]) < w * 1e-3, `edge ${i}: ${v} vs ${cover[i]}`));
  // The source was asked for every feature the cover could show.
  const proj = makeProjection(d.proj);
  for (const [x, y] of [[cover[0], cover[1]], [cover[2], cover[3]], [cover[0], cover[3]], [cover[2], cover[1]]]) {
    const [lon, lat] = proj.invert([x, y]);
    assert.ok(lon >= asked[0] && lon <= asked[2] && lat >= asked[1] && lat <= asked[3], `corner ${lon},${lat} in ${asked}`);
  }
});

test('the lon/lat box of a cover around a pole spans every longitude', () => {
  const polar = makeProjection({ type: 'laea', lat0: 85, lon0: 20 });
  const [x, y] = polar([20, 85]);
  const b = lonLatBox(polar, [x - 2e6, y - 2e6, x + 2e6, y + 2e6]);
  assert.deepEqual([b[0], b[2], b[3]], [-180, 180, 90]);
  const plain = lonLatBox(makeProjection({ type: 'laea', lat0: 50, lon0: 10 }), [-1e5, -1e5, 1e5, 1e5]);
  assert.ok(plain[0] > 5 && plain[2] < 15 && plain[1] > 45 && plain[3] < 55, `${plain}`);
});

test('inset boxes keep open sea: no mainland context is drawn over them', async () => {
  // Land all around, also where the island's inset box lies left of the mainland.
  const d = { ...def(), context: [landAround(10, 50, 25)] };
  const { movie } = await buildMovie(d);
  const island = feature(movie, movie.objects.regions).features.find((f) => f.properties.key === 'T-I');
  const [ix0, iy0, ix1, iy1] = featuresBounds([island]);
  for (const pt of [[ix0, iy0], [ix1, iy1], [(ix0 + ix1) / 2, (iy0 + iy1) / 2], island.properties.label]) {
    assert.ok(!onContext(movie, pt), `context under the inset at ${pt}`);
  }
  // Beyond the box the land goes on.
  const [vx0, vy0, , vy1] = movie.tolvane.viewBox;
  assert.ok(onContext(movie, [vx0 - (vy1 - vy0) * 0.3, (vy0 + vy1) / 2]), 'land left of the view box');
});

test('where a frame cuts a charted country, the rest of it is context land', async () => {
  const big = region('T-B', 'Big', [box(0, 40, 20, 60)]);
  const frame = [5, 45, 15, 55];
  const d = { ...def(), frame, regions: [big], insets: [], cities: [], context: () => [] };
  const { movie } = await buildMovie(d);
  const [bx0, , bx1] = featuresBounds(feature(movie, movie.objects.regions).features);
  const cut = project(d.proj, [17, 50]);
  assert.ok(cut[0] > bx1, 'the region ends at the frame');
  assert.ok(onContext(movie, cut), 'its land beyond the frame is context');
  assert.ok(onContext(movie, project(d.proj, [3, 50])) && bx0 > project(d.proj, [3, 50])[0]);
  // An island wholly outside the frame stays out: it was left out on purpose.
  const withIsland = { ...d, regions: [region('T-B', 'Big', [box(0, 40, 20, 60)]), region('T-J', 'Far', [box(30, 50, 31, 51)])] };
  const m2 = (await buildMovie(withIsland)).movie;
  assert.ok(!onContext(m2, project(d.proj, [30.5, 50.5])));
});
