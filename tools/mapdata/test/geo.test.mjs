import test from 'node:test';
import assert from 'node:assert/strict';
import {
  densifyRing, ringArea, rewindForSphere, parseSvgPath, ringsToGeometry, pointInGeometry, makeProjection, partsInBox,
} from '../lib/geo.mjs';

test('densified shared borders are identical whichever way they are walked', () => {
  const a = [0.1, 49], b = [7.3, 49.0000001];
  const fwd = densifyRing([a, b], 0.5);
  const back = densifyRing([b, a], 0.5);
  assert.ok(fwd.length > 10);
  assert.deepEqual(fwd, back.slice().reverse());
});

test('rings are wound clockwise outside, counter-clockwise inside', () => {
  const outer = [[0, 0], [10, 0], [10, 10], [0, 10], [0, 0]]; // counter-clockwise
  const hole = [[2, 2], [2, 4], [4, 4], [4, 2], [2, 2]]; // clockwise
  const g = rewindForSphere({ type: 'Polygon', coordinates: [outer, hole] });
  assert.ok(ringArea(g.coordinates[0]) < 0);
  assert.ok(ringArea(g.coordinates[1]) > 0);
});

test('SVG paths: implicit relative line-to, z returns to the subpath start', () => {
  const rings = parseSvgPath('m 10,10 5,0 0,5 z m 1,1 1,0 0,1 z M 0,0 L 3,0 3,3 Z');
  assert.deepEqual(rings[0], [[10, 10], [15, 10], [15, 15], [10, 10]]);
  assert.deepEqual(rings[1][0], [11, 11]); // relative to the previous start, not the last point
  assert.deepEqual(rings[2], [[0, 0], [3, 0], [3, 3], [0, 0]]);
});

test('a ring inside another of the same shape becomes its hole', () => {
  const g = ringsToGeometry(parseSvgPath('M0,0 L10,0 10,10 0,10 z M4,4 L6,4 6,6 4,6 z M20,0 L22,0 22,2 z'));
  assert.equal(g.type, 'MultiPolygon');
  assert.equal(g.coordinates.length, 2);
  assert.equal(g.coordinates[0].length, 2);
  assert.ok(!pointInGeometry([5, 5], g));
  assert.ok(pointInGeometry([2, 2], g));
  assert.ok(pointInGeometry([21.5, 0.5], g));
});

test('projections put north up (y grows downward) in metres', () => {
  for (const p of [{ type: 'robin' }, { type: 'laea', lat0: 52, lon0: 10 }, { type: 'lcc', parallels: [44, 49], lat0: 46.5, lon0: 3 }, { type: 'tm', lon0: 9 }, { type: 'albersusa' }]) {
    const pr = makeProjection(p);
    const [lon, lat] = p.type === 'albersusa' ? [-98, 39] : [p.lon0 || 0, p.lat0 || 0];
    const north = pr([lon, lat + 1]), south = pr([lon, lat - 1]);
    assert.ok(north[1] < south[1], p.type);
    assert.ok(Math.abs(south[1] - north[1] - 222000) < 40000, `${p.type}: ${south[1] - north[1]}`);
  }
});

test('partsInBox keeps only the parts centred in the box', () => {
  const sq = (x, y) => [[[x, y], [x + 1, y], [x + 1, y + 1], [x, y + 1], [x, y]]];
  const g = partsInBox({ type: 'MultiPolygon', coordinates: [sq(2, 46), sq(-53, 4)] }, [-55, 1, -51, 6]);
  assert.equal(g.type, 'Polygon');
  assert.equal(g.coordinates[0][0][0], -53);
});
