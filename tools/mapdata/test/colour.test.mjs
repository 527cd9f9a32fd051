import test from 'node:test';
import assert from 'node:assert/strict';
import { legendColours, colourRegions, PALETTE } from '../lib/colour.mjs';

test('legend gradient runs from the light to the dark green with truncating division', () => {
  const six = legendColours(6);
  assert.equal(six[0], 15794144); // RGB(240,255,224)
  assert.equal(six[5], (38 << 16) | (113 << 8) | 20);
  // second item: 240 + trunc(-202/5) = 200, 255 + trunc(-142/5) = 227, 224 + trunc(-204/5) = 184
  assert.equal(six[1], (200 << 16) | (227 << 8) | 184);
  assert.equal(legendColours(4)[1], ((240 - 67) << 16) | ((255 - 47) << 8) | (224 - 68));
});

test('neighbours never share a colour and the result does not depend on insertion order', () => {
  // a wheel: hub touches all rim cells, rim cells touch their two neighbours
  const adj = new Map();
  const link = (a, b) => { for (const [x, y] of [[a, b], [b, a]]) { if (!adj.has(x)) adj.set(x, new Set()); adj.get(x).add(y); } };
  const rim = ['r1', 'r2', 'r3', 'r4', 'r5'];
  rim.forEach((r, i) => { link('hub', r); link(r, rim[(i + 1) % rim.length]); });
  const c = colourRegions(adj);
  for (const [k, ns] of adj) for (const n of ns) assert.notEqual(c.get(k), c.get(n), `${k}/${n}`);
  for (const v of c.values()) assert.ok(PALETTE.includes(v));
  const reversed = new Map([...adj].reverse());
  assert.deepEqual([...colourRegions(reversed)].sort(), [...c].sort());
});

test('isolated regions spread over the palette instead of all taking the first colour', () => {
  const adj = new Map(['a', 'b', 'c', 'd'].map((k) => [k, new Set()]));
  assert.equal(new Set(colourRegions(adj).values()).size, 4);
});
