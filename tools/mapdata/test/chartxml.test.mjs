import test from 'node:test';
import assert from 'node:assert/strict';
import { regionChart, cityChart, regionCityChart, escapeText } from '../lib/chartxml.mjs';
import { parseXml, serialize } from '../lib/checks.mjs';

test('region chart has the exact layout the program writes', () => {
  const xml = regionChart([{ name: 'Baden-Württemberg', key: 'DE-BW', colour: 0xF0FFE0 }], { showtext: true });
  const lines = xml.split('\n');
  assert.equal(lines[0], '<?xml version="1.0" encoding="utf-8"?>');
  assert.deepEqual(lines.slice(1, 11), [
    '<provinces>', '  <regions>1</regions>', '  <border>12632256</border>', '  <showtext>-1</showtext>',
    '  <province id="1">', '    <name>Baden-Württemberg</name>', '    <shortname>DE-BW</shortname>',
    '    <bgcolor>15794144</bgcolor>', '    <value>0</value>', '  </province>',
  ]);
  assert.ok(xml.endsWith('  </plegends>\n</provinces>\n'));
  assert.equal((xml.match(/<plegend id=/g) || []).length, 6);
  assert.ok(!xml.includes('\r'));
});

test('shade charts carry a shade after value and after colour, four legend items', () => {
  const xml = regionChart([{ name: 'A', key: 'X-A', colour: 1 }], { showtext: true, shade: true });
  assert.match(xml, /<value>0<\/value>\n {4}<shade>1<\/shade>\n {2}<\/province>/);
  assert.match(xml, /<color>\d+<\/color>\n {6}<shade>1<\/shade>\n {4}<\/plegend>/);
  assert.match(xml, /<plegendcount>4<\/plegendcount>/);
});

test('city and region-city charts', () => {
  const cities = [{ name: 'Köln', region: 'Nordrhein-Westfalen' }, { name: 'A & B', region: '<x>' }];
  const c = cityChart(cities, { showtext: false });
  assert.match(c, /<cities>\n {2}<regions>2<\/regions>\n {2}<border>12632256<\/border>\n {2}<showtext>0<\/showtext>/);
  assert.match(c, /<city id="2">\n {4}<name>A &amp; B<\/name>\n {4}<country>&lt;x&gt;<\/country>\n {4}<bgcolor>\d+<\/bgcolor>\n {4}<value>0<\/value>\n {4}<scale>100<\/scale>/);
  assert.match(c, /<text>Legend 4<\/text>\n {6}<color>\d+<\/color>\n {6}<scale>100<\/scale>/);
  const rc = regionCityChart([{ name: 'Bayern', key: 'DE-BY', colour: 5 }], cities);
  assert.match(rc, /^<\?xml[^\n]*\n<map>\n {2}<border>8421504<\/border>\n {2}<provinces>\n {4}<regions>1<\/regions>\n {4}<province id="1">/);
  assert.match(rc, /<\/provinces>\n {2}<cities>\n {4}<regions>2<\/regions>/);
  assert.ok(!rc.includes('plegend'));
});

test('escaping and byte-exact round trip through a reader', () => {
  assert.equal(escapeText('a<b>&"c\''), 'a&lt;b&gt;&amp;"c\'');
  for (const xml of [
    regionChart([{ name: "Côte d'Ivoire & <Co>", key: 'CI', colour: 3 }], { showtext: false }),
    cityChart([{ name: 'São Paulo', region: 'Brazil' }], { showtext: true }),
    regionCityChart([{ name: 'x', key: 'y', colour: 0 }], []),
  ]) assert.equal(serialize(parseXml(xml)), xml);
});
