import test from 'node:test';
import assert from 'node:assert/strict';
import { haversineKm, mergeNearby, regionOf } from '../lib/cities.mjs';

const city = (name, lon, lat, population) => ({ name, population, loc: { coordinates: [lon, lat] } });

test('great-circle distance', () => {
  assert.ok(Math.abs(haversineKm([13.405, 52.52], [11.582, 48.135]) - 504) < 3); // Berlin-Munich
  assert.equal(haversineKm([5, 5], [5, 5]), 0);
});

test('a smaller city close to a larger one is part of it', () => {
  const kept = mergeNearby([city('Big', 0, 0, 9), city('Suburb', 0.05, 0, 5), city('Far', 1, 0, 4)], 8);
  assert.deepEqual(kept.map((c) => c.name), ['Big', 'Far']);
});

test('a coastal city just outside every outline goes to the nearest region', () => {
  const sq = (key, x) => ({ properties: { key }, geometry: { type: 'Polygon', coordinates: [[[x, 0], [x + 1, 0], [x + 1, 1], [x, 1], [x, 0]]] } });
  const regions = [sq('A', 0), sq('B', 2)];
  assert.equal(regionOf([0.5, 0.5], regions).properties.key, 'A');
  assert.equal(regionOf([3.2, 0.5], regions).properties.key, 'B');
});
