// The flag drawings under data/flags: each flag in its official proportions (the drawing's
// viewBox is the flag's shape), from svg-country-flags. A few of those drawings use SVG
// features Qt's SVG renderer (6.4) does not draw (clip paths, text on a path): those flags
// come from flag-icons' 4x3 drawings instead, reshaped to the official proportions when
// that changes the drawing by at most 1/8 (so emblems stay round), else kept 4x3.
import fs from 'node:fs';
import path from 'node:path';

// Checked by drawing every flag with Qt and with librsvg and comparing the pictures.
export const QT_UNDRAWABLE = ['ai', 'au', 'br', 'ck', 'fj', 'gb', 'ge', 'hm', 'io', 'ky', 'ms', 'nu',
  'nz', 'pn', 'sh', 'si', 'tc', 'tv', 'tw', 'vg', 'za'];
const MAX_RESHAPE = 1.125;

// The aspect (width / height) an SVG file's viewBox gives.
export function viewBoxAspect(svg) {
  const m = /viewBox="\s*([-\d.e]+)[\s,]+([-\d.e]+)[\s,]+([-\d.e]+)[\s,]+([-\d.e]+)\s*"/.exec(svg);
  if (!m) throw new Error('flag drawing without a viewBox');
  return Number(m[3]) / Number(m[4]);
}

// flag-icons' 640x480 drawing stretched to `aspect`, or as it is when that would distort it.
export function reshapeIcon(svg, aspect) {
  const stretch = aspect / (4 / 3);
  if (Math.max(stretch, 1 / stretch) > MAX_RESHAPE || Math.abs(stretch - 1) < 1e-3) return svg;
  const width = Math.round(480 * aspect * 100) / 100;
  const open = /<svg\b[^>]*>/.exec(svg);
  const head = open[0].replace(/viewBox="[^"]*"/, `viewBox="0 0 ${width} 480"`);
  const body = svg.slice(open.index + open[0].length, svg.lastIndexOf('</svg>'));
  return `${svg.slice(0, open.index)}${head}<g transform="scale(${Math.round(stretch * 1e6) / 1e6} 1)">${body}</g></svg>\n`;
}

// Writes flagsDir/<code>.svg for every code (lower case) from the two packages' folders.
export function writeFlags(flagsDir, codes, trueDir, iconDir) {
  for (const code of codes.map((c) => c.toLowerCase())) {
    const official = path.join(trueDir, `${code}.svg`);
    if (!fs.existsSync(official)) throw new Error(`no flag for ${code}`);
    let svg = fs.readFileSync(official, 'utf8');
    if (QT_UNDRAWABLE.includes(code)) svg = reshapeIcon(fs.readFileSync(path.join(iconDir, `${code}.svg`), 'utf8'), viewBoxAspect(svg));
    fs.writeFileSync(path.join(flagsDir, `${code}.svg`), svg);
  }
}
