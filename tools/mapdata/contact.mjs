// Contact sheet of every shipped map: node contact.mjs [out.png]
// or one map large: node contact.mjs --one "Germany" out.png
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { movieToSvg, coloursFromXml } from './lib/svg.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const DATA = path.resolve(here, '../../data');
const tmp = fs.mkdtempSync('/tmp/tolvane-maps-');

function render(stem, width, labels) {
  const movie = JSON.parse(fs.readFileSync(path.join(DATA, `${stem}.map`), 'utf8'));
  const xmlPath = path.join(DATA, `${stem}.xml`);
  const colours = fs.existsSync(xmlPath) ? coloursFromXml(fs.readFileSync(xmlPath, 'utf8')) : new Map();
  const svg = path.join(tmp, `${stem}.svg`), png = path.join(tmp, `${stem}.png`);
  fs.writeFileSync(svg, movieToSvg(movie, colours, { width, labels }));
  execFileSync('rsvg-convert', ['-o', png, svg]);
  return png;
}

const args = process.argv.slice(2);
if (args[0] === '--one') {
  fs.copyFileSync(render(args[1], Number(args[3] || 1400), true), args[2]);
} else {
  const out = args[0] || '/tmp/contact-sheet.png';
  const stems = fs.readdirSync(DATA).filter((f) => f.endsWith('.map')).map((f) => f.slice(0, -4))
    .filter((s) => s !== 'cmap1').sort();
  const pngs = stems.map((s) => render(s, 260, false));
  const labelled = stems.flatMap((s, i) => ['-label', s, pngs[i]]);
  execFileSync('montage', [...labelled, '-tile', '10x', '-geometry', '260x200+4+4', '-pointsize', '11', '-font', 'DejaVu-Sans', '-background', 'white', out]);
  console.log(`${stems.length} maps -> ${out}`);
}
