// Geometry helpers: ring orientation, densification, projections and the
// small planar utilities the build needs. Coordinates after projection live
// in a screen-oriented plane (y grows downward) measured in metres.
import * as d3 from 'd3-geo';
import { geoRobinson, geoPolyconic } from 'd3-geo-projection';

export const EARTH_RADIUS = 6371000;

export function ringArea(ring) {
  let a = 0;
  for (let i = 0, n = ring.length, j = n - 1; i < n; j = i++) {
    a += (ring[j][0] - ring[i][0]) * (ring[j][1] + ring[i][1]);
  }
  return a / 2; // positive for counter-clockwise in a y-up plane
}

function orient(ring, clockwise) {
  const cw = ringArea(ring) < 0;
  return cw === clockwise ? ring : ring.slice().reverse();
}

// d3 reads spherical polygons with clockwise exteriors; many GeoJSON files
// follow RFC 7946 (counter-clockwise), which d3 would read as the whole
// globe minus the shape.
export function rewindForSphere(geometry) {
  if (!geometry) return geometry;
  const poly = (rings) => rings.map((r, i) => orient(r, i === 0));
  if (geometry.type === 'Polygon') return { type: 'Polygon', coordinates: poly(geometry.coordinates) };
  if (geometry.type === 'MultiPolygon') return { type: 'MultiPolygon', coordinates: geometry.coordinates.map(poly) };
  return geometry;
}

// Long straight segments in lon/lat (borders along parallels) would become
// chords after projection. Intermediate points are computed from the
// lexicographically smaller endpoint so that two neighbours walking the same
// border in opposite directions get identical vertices and keep sharing it.
export function densifyRing(ring, maxStep) {
  const out = [];
  for (let i = 0; i < ring.length - 1; i++) {
    const a = ring[i], b = ring[i + 1];
    out.push(a);
    const len = Math.hypot(b[0] - a[0], b[1] - a[1]);
    if (len <= maxStep) continue;
    const n = Math.ceil(len / maxStep);
    const swap = a[0] > b[0] || (a[0] === b[0] && a[1] > b[1]);
    const p = swap ? b : a, q = swap ? a : b;
    const mids = [];
    for (let k = 1; k < n; k++) mids.push([p[0] + (q[0] - p[0]) * k / n, p[1] + (q[1] - p[1]) * k / n]);
    if (swap) mids.reverse();
    out.push(...mids);
  }
  out.push(ring[ring.length - 1]);
  return out;
}

export function mapRings(geometry, fn) {
  if (!geometry) return geometry;
  if (geometry.type === 'Polygon') return { type: 'Polygon', coordinates: geometry.coordinates.map(fn) };
  if (geometry.type === 'MultiPolygon') return { type: 'MultiPolygon', coordinates: geometry.coordinates.map((p) => p.map(fn)) };
  return geometry;
}

export function densify(geometry, maxStep = 0.25) {
  return mapRings(geometry, (r) => densifyRing(r, maxStep));
}

// Projection description -> d3 projection in metres, no adaptive resampling
// (resampling is direction dependent and would split shared borders).
export function makeProjection(p) {
  let pr;
  const lon0 = p.lon0 ?? 0, lat0 = p.lat0 ?? 0;
  switch (p.type) {
    case 'laea': pr = d3.geoAzimuthalEqualArea().rotate([-lon0, -lat0]); break;
    case 'stere': pr = d3.geoStereographic().rotate([-lon0, -lat0]); break;
    case 'aea': pr = d3.geoConicEqualArea().parallels(p.parallels).rotate([-lon0, 0]).center([0, lat0]); break;
    case 'lcc': pr = d3.geoConicConformal().parallels(p.parallels).rotate([-lon0, 0]).center([0, lat0]); break;
    case 'tm': pr = d3.geoTransverseMercator().rotate([-lon0, -lat0]); break;
    case 'merc': pr = d3.geoMercator().rotate([-lon0, 0]); break;
    case 'robin': pr = geoRobinson().rotate([-lon0, 0]); break;
    case 'poly': pr = geoPolyconic().rotate([-lon0, 0]); break;
    case 'albersusa': pr = d3.geoAlbersUsa(); break;
    default: throw new Error(`unknown projection ${p.type}`);
  }
  pr.scale(EARTH_RADIUS).translate([0, 0]);
  if (pr.precision) pr.precision(0);
  return pr;
}

export function utm(zone) {
  return { type: 'tm', lon0: -183 + 6 * zone, lat0: 0 };
}

export function round1(v) {
  return Math.round(v * 10) / 10;
}

export function roundGeometry(g) {
  return mapRings(g, (r) => r.map(([x, y]) => [round1(x), round1(y)]));
}

export function geometryBounds(g, b = [Infinity, Infinity, -Infinity, -Infinity]) {
  if (!g) return b;
  const visit = (pt) => {
    if (pt[0] < b[0]) b[0] = pt[0];
    if (pt[1] < b[1]) b[1] = pt[1];
    if (pt[0] > b[2]) b[2] = pt[0];
    if (pt[1] > b[3]) b[3] = pt[1];
  };
  if (g.type === 'Point') visit(g.coordinates);
  else if (g.type === 'Polygon') g.coordinates.forEach((r) => r.forEach(visit));
  else if (g.type === 'MultiPolygon') g.coordinates.forEach((p) => p.forEach((r) => r.forEach(visit)));
  return b;
}

export function featuresBounds(features) {
  const b = [Infinity, Infinity, -Infinity, -Infinity];
  for (const f of features) geometryBounds(f.geometry, b);
  return b;
}

export function polygonsOf(g) {
  if (!g) return [];
  if (g.type === 'Polygon') return [g.coordinates];
  if (g.type === 'MultiPolygon') return g.coordinates;
  return [];
}

export function fromPolygons(polys) {
  if (polys.length === 0) return null;
  if (polys.length === 1) return { type: 'Polygon', coordinates: polys[0] };
  return { type: 'MultiPolygon', coordinates: polys };
}

// Even-odd point in ring test, planar.
export function pointInRing(pt, ring) {
  const [x, y] = pt;
  let inside = false;
  for (let i = 0, n = ring.length, j = n - 1; i < n; j = i++) {
    const [xi, yi] = ring[i], [xj, yj] = ring[j];
    if ((yi > y) !== (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

export function pointInGeometry(pt, g) {
  for (const poly of polygonsOf(g)) {
    if (!pointInRing(pt, poly[0])) continue;
    if (!poly.slice(1).some((h) => pointInRing(pt, h))) return true;
  }
  return false;
}

function segDist2(p, a, b) {
  const dx = b[0] - a[0], dy = b[1] - a[1];
  const l2 = dx * dx + dy * dy;
  let t = l2 ? ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / l2 : 0;
  t = Math.max(0, Math.min(1, t));
  const x = a[0] + t * dx - p[0], y = a[1] + t * dy - p[1];
  return x * x + y * y;
}

export function distanceToGeometry(pt, g) {
  let best = Infinity;
  for (const poly of polygonsOf(g)) for (const r of poly) {
    for (let i = 0; i < r.length - 1; i++) best = Math.min(best, segDist2(pt, r[i], r[i + 1]));
  }
  return Math.sqrt(best);
}

// Keep only the parts of a (Multi)Polygon whose first vertex lies in a lon/lat box.
export function partsInBox(g, [x0, y0, x1, y1]) {
  return fromPolygons(polygonsOf(g).filter((p) => {
    const b = geometryBounds({ type: 'Polygon', coordinates: p });
    const cx = (b[0] + b[2]) / 2, cy = (b[1] + b[3]) / 2;
    return cx >= x0 && cx <= x1 && cy >= y0 && cy <= y1;
  }));
}

// Parse an SVG path made of m/l/z commands (relative or absolute) into
// rings; used for the Hong Kong district drawing.
export function parseSvgPath(d) {
  const tokens = d.match(/[a-zA-Z]|-?\d*\.?\d+(?:e[-+]?\d+)?/g) || [];
  const rings = [];
  let ring = null, cmd = null, x = 0, y = 0, sx = 0, sy = 0, i = 0;
  const num = () => parseFloat(tokens[i++]);
  while (i < tokens.length) {
    if (/[a-zA-Z]/.test(tokens[i])) cmd = tokens[i++];
    if (cmd === 'z' || cmd === 'Z') {
      if (ring && ring.length > 2) { ring.push(ring[0].slice()); rings.push(ring); }
      ring = null; x = sx; y = sy;
      continue;
    }
    if (!/^[mMlL]$/.test(cmd)) throw new Error(`unsupported path command ${cmd}`);
    const a = num(), b = num();
    const rel = cmd === 'm' || cmd === 'l';
    x = rel ? x + a : a; y = rel ? y + b : b;
    if (cmd === 'm' || cmd === 'M') {
      if (ring && ring.length > 2) { ring.push(ring[0].slice()); rings.push(ring); }
      ring = [[x, y]]; sx = x; sy = y;
      cmd = cmd === 'm' ? 'l' : 'L';
    } else ring.push([x, y]);
  }
  if (ring && ring.length > 2) { ring.push(ring[0].slice()); rings.push(ring); }
  return rings;
}

// Group rings into polygons: a ring whose first point lies inside another
// ring of the same shape is a hole of it.
export function ringsToGeometry(rings) {
  const outer = [], holes = [];
  rings.forEach((r, i) => {
    const container = rings.findIndex((o, j) => j !== i && Math.abs(ringArea(o)) > Math.abs(ringArea(r)) && pointInRing(r[0], o));
    (container >= 0 ? holes : outer).push({ r, container });
  });
  const polys = outer.map(({ r }) => [r]);
  for (const h of holes) {
    const idx = outer.findIndex((o) => o.r === rings[h.container]);
    if (idx >= 0) polys[idx].push(h.r);
  }
  return fromPolygons(polys);
}
