import test from 'node:test';
import assert from 'node:assert/strict';
import { parseGroups, grouped } from '../lib/regions.mjs';
import { normalizeNames } from '../lib/names.mjs';
import { emptyMovie, countryCodesTsv, FLAG_ATTRIBUTION } from '../lib/extras.mjs';
import { reshapeIcon, viewBoxAspect } from '../lib/flags.mjs';
import { parseXml, serialize } from '../lib/checks.mjs';

const f = (key, name) => ({ type: 'Feature', properties: { key, name }, geometry: null });

test('grouping tables: every code lands in its group and an unknown code is an error', () => {
  const table = parseGroups('SK01 SK-BL · SK02 SK-TA SK-TC');
  assert.deepEqual(table, { SK01: ['SK-BL'], SK02: ['SK-TA', 'SK-TC'] });
  const out = grouped([f('SK-TC', 'x'), f('SK-BL', 'y')], table, { SK01: 'Bratislavský kraj', SK02: 'Západné Slovensko' });
  assert.deepEqual(out.map((g) => [g.properties.key, g.properties.name]), [['SK02', 'Západné Slovensko'], ['SK01', 'Bratislavský kraj']]);
  assert.throws(() => grouped([f('SK-ZZ', 'z')], table, {}), /ungrouped SK-ZZ/);
});

test('one name per region: corrections win, merged pieces take the first name, none is an error', () => {
  const out = normalizeNames('Sweden', [f('SE-T', 'Orebro'), f('SE-AB', null), f('SE-AB', 'Stockholm')]);
  assert.deepEqual(out.map((g) => g.properties.name), ['Örebro', 'Stockholm', 'Stockholm']);
  assert.throws(() => normalizeNames('Nowhere', [f('X-1', null)]), /no name for X-1/);
});

test('flag and blank movies have the agreed shape', () => {
  assert.equal(
    emptyMovie('flag', { style: 'flag1', title: 'Flag chart', attribution: FLAG_ATTRIBUTION, viewBox: [0, 0, 1000, 700] }),
    '{"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"flag","style":"flag1","title":"Flag chart","attribution":"Flags: svg-country-flags (public domain), flag-icons (MIT)","viewBox":[0,0,1000,700]}}',
  );
});

test('country code table: header, sorted codes, Kosovo, short names', () => {
  const lines = countryCodesTsv().split('\n');
  assert.equal(lines[0], 'code\tname');
  assert.equal(lines.at(-1), '');
  const rows = lines.slice(1, -1).map((l) => l.split('\t'));
  assert.deepEqual(rows.map((r) => r[0]), rows.map((r) => r[0]).sort());
  const byCode = Object.fromEntries(rows);
  assert.equal(byCode.XK, 'Kosovo');
  assert.equal(byCode.GB, 'United Kingdom');
  assert.equal(byCode.CI, "Côte d'Ivoire");
  assert.ok(rows.length >= 249);
});

test('the XML reader rejects broken files and keeps empty texts', () => {
  assert.throws(() => parseXml('<provinces></provinces>'), /declaration/);
  assert.throws(() => parseXml('<?xml version="1.0" encoding="utf-8"?>\n<a>\n  <b>x</c>\n</a>\n'), /mismatched/);
  const xml = '<?xml version="1.0" encoding="utf-8"?>\n<plegend id="1">\n  <text></text>\n  <color>0</color>\n</plegend>\n';
  assert.equal(serialize(parseXml(xml)), xml);
});

test('flag-icons drawings take the official shape only when it barely changes them', () => {
  const icon = '<svg xmlns="http://www.w3.org/2000/svg" id="x" viewBox="0 0 640 480"><path d="M0 0h640v480H0z"/></svg>\n';
  assert.equal(viewBoxAspect('<svg viewBox="-2100 -1470 4200 2940">'), 4200 / 2940);
  const brazil = reshapeIcon(icon, 10 / 7);
  assert.equal(viewBoxAspect(brazil), 685.71 / 480);
  assert.match(brazil, /^<svg [^>]*viewBox="0 0 685.71 480"><g transform="scale\(1.071429 1\)"><path d="M0 0h640v480H0z"\/><\/g><\/svg>\n$/);
  assert.equal(reshapeIcon(icon, 2), icon); // 1:2 ensigns would get oval stars: kept 4:3
});
