// Turns a map definition (regions, context land and cities in lon/lat, a
// projection and optional insets) into a quantized TopoJSON map movie.
import mapshaper from 'mapshaper';
import {
  makeProjection, rewindForSphere, densify, roundGeometry, featuresBounds, round1,
  polygonsOf, fromPolygons,
} from './geo.mjs';

const QUANTIZATION = 100000;

function projectFeatures(features, projection) {
  const out = [];
  for (const f of features) {
    const g = projectGeometry(f.geometry, projection);
    if (g) out.push({ type: 'Feature', properties: f.properties, geometry: g });
  }
  return out;
}

// d3's stream API with a polygon sink; exteriors/holes are sorted out by
// orientation as d3-geo-projection's geoProject does.
import { geoProject } from 'd3-geo-projection';
function projectGeometry(geometry, projection) {
  if (!geometry) return null;
  const g = geoProject(geometry, projection);
  if (!g || (g.type !== 'Polygon' && g.type !== 'MultiPolygon')) return null;
  // mapshaper reads ring roles from orientation (clockwise exteriors in
  // its y-up sense); d3 emits screen-clockwise ones, which is the opposite.
  return rewindForSphere(roundGeometry(g));
}

function frameExtent(projection, [x0, y0, x1, y1]) {
  const pts = [];
  const n = 64;
  for (let i = 0; i <= n; i++) {
    const t = i / n;
    pts.push([x0 + (x1 - x0) * t, y0], [x0 + (x1 - x0) * t, y1], [x0, y0 + (y1 - y0) * t], [x1, y0 + (y1 - y0) * t]);
  }
  const b = [Infinity, Infinity, -Infinity, -Infinity];
  for (const p of pts) {
    const q = projection(p);
    if (!q) continue;
    b[0] = Math.min(b[0], q[0]); b[1] = Math.min(b[1], q[1]);
    b[2] = Math.max(b[2], q[0]); b[3] = Math.max(b[3], q[1]);
  }
  return [[b[0], b[1]], [b[2], b[3]]];
}

function prepare(features, def) {
  return features.map((f) => {
    let g = f.geometry;
    if (def.rewind !== false) g = rewindForSphere(g);
    if (def.densify) g = densify(g, def.densify);
    return { ...f, geometry: g };
  });
}

// The renderer lets context land run to the edges of the area a picture gives the map. That
// area is 2.7:1 in the preview (the picture is 2.57:1, its margins make the rest) and 0.7:1 on
// a portrait page, so context covers the view box widened and heightened to such proportions
// around its centre, with a little room besides.
export const CONTEXT_WIDE = 2.8;
export const CONTEXT_TALL = 1.5;
const CONTEXT_ROOM = 0.03;

export function contextCover([x0, y0, x1, y1]) {
  const w = x1 - x0, h = y1 - y0;
  const cw = Math.max(w, CONTEXT_WIDE * h) * (1 + 2 * CONTEXT_ROOM);
  const ch = Math.max(h, CONTEXT_TALL * w) * (1 + 2 * CONTEXT_ROOM);
  const cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  return [cx - cw / 2, cy - ch / 2, cx + cw / 2, cy + ch / 2];
}

// The lon/lat box a projected rectangle comes from, generous rather than tight: it only
// chooses which source features are worth projecting.
export function lonLatBox(projection, [x0, y0, x1, y1]) {
  const n = 48;
  const b = [Infinity, Infinity, -Infinity, -Infinity];
  let wraps = false;
  for (let j = 0; j <= n; j++) {
    let prev = null;
    for (let i = 0; i <= n; i++) {
      const ll = projection.invert([x0 + (x1 - x0) * i / n, y0 + (y1 - y0) * j / n]);
      if (!ll || !Number.isFinite(ll[0]) || !Number.isFinite(ll[1])) { prev = null; continue; }
      if (prev && Math.abs(ll[0] - prev[0]) > 180) wraps = true;
      b[0] = Math.min(b[0], ll[0]); b[1] = Math.min(b[1], ll[1]);
      b[2] = Math.max(b[2], ll[0]); b[3] = Math.max(b[3], ll[1]);
      prev = ll;
    }
  }
  const inside = (ll) => {
    const p = projection(ll);
    return p && p[0] >= x0 && p[0] <= x1 && p[1] >= y0 && p[1] <= y1;
  };
  if (inside([0, 90])) { b[3] = 90; wraps = true; }
  if (inside([0, -90])) { b[1] = -90; wraps = true; }
  if (wraps) { b[0] = -180; b[2] = 180; }
  return [Math.max(-180, b[0] - 1), Math.max(-90, b[1] - 1), Math.min(180, b[2] + 1), Math.min(90, b[3] + 1)];
}

// Where a frame cuts a charted country, the rest of it is land beyond the chart. The frame
// cuts the projected plane (see frameExtent), so that is where parts are tested; parts wholly
// outside it were left out on purpose and stay out.
function cutOffParts(features, projection, [[x0, y0], [x1, y1]]) {
  const out = [];
  for (const f of features) {
    const parts = polygonsOf(f.geometry).filter((poly) => {
      const b = [Infinity, Infinity, -Infinity, -Infinity];
      for (const ll of poly[0]) {
        const p = projection(ll);
        if (!p) continue;
        b[0] = Math.min(b[0], p[0]); b[1] = Math.min(b[1], p[1]);
        b[2] = Math.max(b[2], p[0]); b[3] = Math.max(b[3], p[1]);
      }
      const touches = b[0] <= x1 && b[2] >= x0 && b[1] <= y1 && b[3] >= y0;
      const within = b[0] >= x0 && b[2] <= x1 && b[1] >= y0 && b[3] <= y1;
      return touches && !within;
    });
    if (parts.length) out.push({ type: 'Feature', properties: { group: `cut-${f.properties.key}`, kind: 'land' }, geometry: fromPolygons(parts) });
  }
  return out;
}

// Projects everything; returns planar features plus the projection used for
// each inset so cities can follow their region.
export function projectMap(def) {
  const plane = def.proj.type === 'plane';
  const mainProj = () => {
    const p = makeProjection(def.proj);
    if (def.frame) p.clipExtent(frameExtent(makeProjection(def.proj), def.frame));
    return p;
  };
  const regionsLL = plane ? def.regions : prepare(def.regions, def);
  const main = regionsLL.filter((f) => f.properties.inset == null);
  const projected = plane ? main.map((f) => ({ ...f, geometry: roundGeometry(f.geometry) })) : projectFeatures(main, mainProj());
  const mainBounds = featuresBounds(projected);
  const W = mainBounds[2] - mainBounds[0], H = mainBounds[3] - mainBounds[1];
  const insetBoxes = [];
  const insetProjs = (def.insets || []).map((ins, i) => {
    const feats = regionsLL.filter((f) => f.properties.inset === i);
    const [fx0, fy0, fx1, fy1] = ins.box;
    const box = [[mainBounds[0] + fx0 * W, mainBounds[1] + fy0 * H], [mainBounds[0] + fx1 * W, mainBounds[1] + fy1 * H]];
    insetBoxes.push(box.flat());
    const p = makeProjection(ins.proj);
    if (ins.clip) p.clipExtent(frameExtent(makeProjection(ins.proj), ins.clip));
    p.fitExtent(box, { type: 'FeatureCollection', features: ins.fitTo ? ins.fitTo : feats });
    projected.push(...projectFeatures(feats, p));
    return p;
  });
  const lost = def.regions.filter((f) => !projected.some((g) => g.properties.key === f.properties.key));
  // A frame deliberately leaves out far-off members (Africa's Indian Ocean
  // territories); without one, a lost region is a bug.
  if (lost.length && !def.frame) throw new Error(`${def.stem}: regions lost in projection: ${lost.map((f) => f.properties.key).join(' ')}`);
  const bounds = featuresBounds(projected);
  const margin = Math.max(bounds[2] - bounds[0], bounds[3] - bounds[1]) * (def.margin ?? 0.02);
  const viewBox = [bounds[0] - margin, bounds[1] - margin, bounds[2] + margin, bounds[3] + margin].map(Math.round);
  let context = [];
  let contextHole = null;
  const sources = typeof def.context === 'function' || (def.context && def.context.length);
  if (sources && !plane) {
    const cover = contextCover(viewBox);
    const p = makeProjection(def.proj);
    const llBox = lonLatBox(p, cover);
    let features = typeof def.context === 'function' ? def.context(llBox) : def.context;
    features = prepare(features, def);
    if (def.frame) features.push(...cutOffParts(main, makeProjection(def.proj), frameExtent(makeProjection(def.proj), def.frame)));
    p.clipExtent([[cover[0], cover[1]], [cover[2], cover[3]]]);
    context = projectFeatures(features, p);
    // Mainland neighbours must not show through an inset's box: the box keeps open sea.
    if (insetBoxes.length) {
      const pad = margin;
      contextHole = [
        Math.min(...insetBoxes.map((b) => b[0])) - pad, Math.min(...insetBoxes.map((b) => b[1])) - pad,
        Math.max(...insetBoxes.map((b) => b[2])) + pad, Math.max(...insetBoxes.map((b) => b[3])) + pad,
      ];
    }
  }
  const cities = [];
  for (const c of def.cities || []) {
    const p = c.inset != null ? insetProjs[c.inset] : (plane ? null : makeProjection(def.proj));
    const xy = p ? p([c.lon, c.lat]) : null;
    if (!xy) throw new Error(`${def.stem}: city ${c.name} cannot be projected`);
    cities.push({ ...c, x: round1(xy[0]), y: round1(xy[1]) });
  }
  return { regions: projected, context, contextHole, cities, bounds, viewBox };
}

function dequantize(t, [qx, qy]) {
  return [qx * t.scale[0] + t.translate[0], qy * t.scale[1] + t.translate[1]];
}

export async function buildMovie(def) {
  const { regions, context, contextHole, cities, bounds, viewBox } = projectMap(def);
  const W = bounds[2] - bounds[0], H = bounds[3] - bounds[1];
  const px = Math.max(W / 2000, H / 1400);
  const interval = px * (def.simplifyPx ?? 0.5);
  const inputs = { 'regions.json': { type: 'FeatureCollection', features: regions } };
  let cmd = '-i regions.json';
  if (context.length) {
    inputs['context.json'] = { type: 'FeatureCollection', features: context };
    cmd += ' context.json combine-files';
    if (contextHole) cmd += ` -erase bbox=${contextHole.join(',')} target=context no-snap`;
  }
  if (def.snap) cmd += ` snap snap-interval=${px * def.snap}`;
  cmd += ' -dissolve key target=regions copy-fields=name';
  if (context.length) cmd += ' -dissolve group target=context copy-fields=kind';
  cmd += ` -simplify interval=${interval} keep-shapes`;
  cmd += ' -points inner target=regions + name=labels';
  cmd += ` -o format=topojson quantization=${QUANTIZATION} target=* out.json`;
  const out = await mapshaper.applyCommands(cmd, inputs);
  const topo = JSON.parse(out['out.json'].toString());
  const t = topo.transform;
  const labels = new Map();
  for (const g of topo.objects.labels.geometries) {
    if (g.type === 'Point') labels.set(g.properties.key, dequantize(t, g.coordinates).map(Math.round));
  }
  const names = new Map(regions.map((f) => [f.properties.key, f.properties.name]));
  const regionGeoms = topo.objects.regions.geometries
    .filter((g) => g.type)
    .map((g) => ({
      type: g.type,
      arcs: g.arcs,
      properties: { key: g.properties.key, name: names.get(g.properties.key), label: labels.get(g.properties.key) },
    }))
    .sort((a, b) => (a.properties.key < b.properties.key ? -1 : a.properties.key > b.properties.key ? 1 : 0));
  const missing = [...names.keys()].filter((k) => !regionGeoms.some((g) => g.properties.key === k));
  if (missing.length) throw new Error(`${def.stem}: regions lost in simplification: ${missing.join(' ')}`);
  const objects = { regions: { type: 'GeometryCollection', geometries: regionGeoms } };
  if (topo.objects.context) {
    objects.context = {
      type: 'GeometryCollection',
      geometries: topo.objects.context.geometries.filter((g) => g.type).map((g) => ({ type: g.type, arcs: g.arcs, properties: { kind: g.properties.kind || 'land' } })),
    };
  }
  if (cities.length) {
    objects.cities = {
      type: 'GeometryCollection',
      geometries: cities.map((c) => ({
        type: 'Point',
        coordinates: [Math.round((c.x - t.translate[0]) / t.scale[0]), Math.round((c.y - t.translate[1]) / t.scale[1])],
        properties: { name: c.name, region: c.region },
      })),
    };
  }
  const movie = {
    type: 'Topology',
    transform: t,
    arcs: topo.arcs,
    tolvane: { kind: def.kind || 'region', title: def.title, attribution: def.attribution, viewBox },
    objects,
  };
  return { movie, json: JSON.stringify(movie) };
}

// Neighbouring regions are the ones that share an arc.
export function adjacency(movie) {
  const users = new Map();
  const geoms = movie.objects.regions.geometries;
  const walk = (arcs, k) => {
    for (const a of arcs) {
      if (Array.isArray(a)) walk(a, k);
      else {
        const idx = a < 0 ? ~a : a;
        if (!users.has(idx)) users.set(idx, new Set());
        users.get(idx).add(k);
      }
    }
  };
  geoms.forEach((g) => walk(g.arcs, g.properties.key));
  const adj = new Map(geoms.map((g) => [g.properties.key, new Set()]));
  for (const s of users.values()) {
    for (const a of s) for (const b of s) if (a !== b) adj.get(a).add(b);
  }
  return adj;
}
