// Turns one case of the peer renderer benchmark (data/<case>.geojson + <case>.view.json)
// into a Tolvane map: data/<Name>.map (TopoJSON movie) and data/<Name>.xml (region chart
// with the same per-feature fill colours and border colour as the peers draw).
//
// Usage: node make_bench_map.mjs BENCH_DIR CASE APP_FOLDER [Name]
//   BENCH_DIR   the prepared copy of the benchmark (with node_modules/ and data/)
//   APP_FOLDER  an application folder; its data/ receives the two files
//   Name        map name (default: bench_<case>)
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';

const [benchDir, caseName, appFolder, mapName = `bench_${caseName}`] = process.argv.slice(2);
if (!benchDir || !caseName || !appFolder) {
  console.error('usage: node make_bench_map.mjs BENCH_DIR CASE APP_FOLDER [Name]');
  process.exit(2);
}

const fc = JSON.parse(fs.readFileSync(path.join(benchDir, 'data', `${caseName}.geojson`), 'utf8'));
const view = JSON.parse(fs.readFileSync(path.join(benchDir, 'data', `${caseName}.view.json`), 'utf8'));

// The benchmark's plane has y growing upward; a movie's plane is screen-oriented.
const flipRing = (ring) => ring.map(([x, y]) => [x, -y]);
const flipGeometry = (g) => g.type === 'Polygon'
  ? { type: 'Polygon', coordinates: g.coordinates.map(flipRing) }
  : { type: 'MultiPolygon', coordinates: g.coordinates.map((p) => p.map(flipRing)) };

const features = fc.features.map((f, i) => ({
  type: 'Feature',
  properties: { key: String(f.properties.id ?? i), name: f.properties.name || String(f.properties.id ?? i),
                fill: f.properties.fill, value: f.properties.value },
  geometry: flipGeometry(f.geometry),
}));

const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'benchmap-'));
const flipped = path.join(tmp, 'regions.geojson');
const topo = path.join(tmp, 'regions.json');
fs.writeFileSync(flipped, JSON.stringify({ type: 'FeatureCollection', features }));
const mapshaper = path.join(benchDir, 'node_modules', '.bin', 'mapshaper');
execFileSync(mapshaper, ['-i', flipped, 'name=regions',
  '-each', 'lx=this.innerX, ly=this.innerY',
  '-o', 'format=topojson', 'quantization=100000', topo], { stdio: 'inherit' });

const topology = JSON.parse(fs.readFileSync(topo, 'utf8'));
const regions = topology.objects.regions;
for (const g of regions.geometries) {
  const p = g.properties;
  g.properties = { key: p.key, name: p.name, label: [p.lx, p.ly] };
}
delete topology.bbox;
topology.tolvane = {
  kind: 'region',
  title: `Benchmark ${caseName}`,
  attribution: caseName === 'countries' ? 'Made with Natural Earth.' : 'U.S. Census Bureau',
  viewBox: [view.xmin, -view.ymax, view.xmax, -view.ymin],
};

const esc = (s) => String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
const colour = (hex) => parseInt(hex.slice(1), 16);
const lines = ['<?xml version="1.0" encoding="utf-8"?>', '<provinces>',
  `  <regions>${features.length}</regions>`, `  <border>${colour(view.border)}</border>`,
  '  <showtext>0</showtext>'];
features.forEach((f, i) => {
  lines.push(`  <province id="${i + 1}">`, `    <name>${esc(f.properties.name)}</name>`,
    `    <shortname>${esc(f.properties.key)}</shortname>`,
    `    <bgcolor>${colour(f.properties.fill)}</bgcolor>`, `    <value>${f.properties.value}</value>`,
    '  </province>');
});
lines.push('  <plegends>', '    <showplegend>0</showplegend>', '    <plegendcount>0</plegendcount>',
  '  </plegends>', '</provinces>', '');

const dataDir = path.join(appFolder, 'data');
fs.mkdirSync(dataDir, { recursive: true });
fs.writeFileSync(path.join(dataDir, `${mapName}.map`), JSON.stringify(topology));
fs.writeFileSync(path.join(dataDir, `${mapName}.xml`), lines.join('\n'));
fs.rmSync(tmp, { recursive: true, force: true });
console.log(`${mapName}: ${features.length} regions, ${topology.arcs.length} arcs -> ${dataDir}`);
