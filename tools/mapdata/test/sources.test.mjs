// These read the installed source packages (npm ci first).
import test from 'node:test';
import assert from 'node:assert/strict';
import { vs50, allCountryCodes, m49Members } from '../lib/sources.mjs';
import { cityList } from '../lib/cities.mjs';
import { pointInGeometry } from '../lib/geo.mjs';

test('every world shape has an ISO code; the tiny Vatican is a disc cut out of Italy', () => {
  const codes = new Set(allCountryCodes());
  const world = vs50();
  for (const c of world) assert.ok(codes.has(c.properties.a2), c.properties.srcName);
  const va = world.find((c) => c.properties.a2 === 'VA');
  const it = world.find((c) => c.properties.a2 === 'IT');
  const centre = [12.4534, 41.9029];
  assert.ok(pointInGeometry(centre, va.geometry));
  assert.ok(!pointInGeometry(centre, it.geometry), 'Italy has the hole');
  assert.ok(pointInGeometry([12.6, 41.9], it.geometry), 'Rome outside the Vatican is Italy');
});

test('continent membership follows UN M49', () => {
  const africa = m49Members('002');
  assert.ok(africa.has('EG') && africa.has('ZA') && !africa.has('ES'));
  assert.ok(m49Members('035').has('TL'));
});

test('city lists: largest first, no borough twice, each city in its region', () => {
  const sq = (key, name, x0, y0, x1, y1) => ({ properties: { key, name }, geometry: { type: 'Polygon', coordinates: [[[x0, y0], [x1, y0], [x1, y1], [x0, y1], [x0, y0]]] } });
  const base = { regions: [sq('US-W', 'West', -180, 0, -100, 80), sq('US-E', 'East', -100, 0, -60, 80)] };
  const list = cityList('usa', base);
  assert.equal(list[0].name, 'New York City');
  assert.equal(list[0].region, 'East');
  assert.ok(list.some((c) => c.name === 'Los Angeles' && c.region === 'West'));
  assert.ok(!list.some((c) => c.name === 'Brooklyn' || c.name === 'Queens'));
  for (let i = 1; i < list.length; i++) assert.ok(list[i - 1].population >= list[i].population);
});
