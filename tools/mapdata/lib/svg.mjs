// Draws a map movie as SVG the way the player will: context land, regions
// in their chart colours with silver borders, city dots. Used for the
// contact sheet and for looking at single maps.
import { feature } from 'topojson-client';

function pathOf(g) {
  const polys = g.type === 'Polygon' ? [g.coordinates] : g.type === 'MultiPolygon' ? g.coordinates : [];
  return polys.map((p) => p.map((r) => `M${r.map(([x, y]) => `${x.toFixed(0)},${y.toFixed(0)}`).join('L')}Z`).join('')).join('');
}

export function movieToSvg(movie, colours = new Map(), { width = 500, labels = false } = {}) {
  const [x0, y0, x1, y1] = movie.tolvane.viewBox;
  const w = x1 - x0, h = y1 - y0;
  const height = Math.round((width * h) / w);
  const stroke = (w / width) * 0.8;
  const out = [`<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="${x0} ${y0} ${w} ${h}">`,
    `<rect x="${x0}" y="${y0}" width="${w}" height="${h}" fill="#eaf4fb"/>`];
  if (movie.objects.context) {
    for (const f of feature(movie, movie.objects.context).features) {
      out.push(`<path d="${pathOf(f.geometry)}" fill="${f.properties.kind === 'water' ? '#eaf4fb' : '#e4e4e4'}" stroke="#bbb" stroke-width="${stroke}" fill-rule="evenodd"/>`);
    }
  }
  for (const f of feature(movie, movie.objects.regions).features) {
    const c = colours.get(f.properties.key);
    const fill = c != null ? `#${c.toString(16).padStart(6, '0')}` : '#ffffff';
    out.push(`<path d="${pathOf(f.geometry)}" fill="${fill}" stroke="#c0c0c0" stroke-width="${stroke}" fill-rule="evenodd"/>`);
  }
  if (labels) {
    for (const g of movie.objects.regions.geometries) {
      const [x, y] = g.properties.label;
      out.push(`<text x="${x}" y="${y}" font-size="${stroke * 12}" text-anchor="middle" font-family="sans-serif">${g.properties.name.replace(/&/g, '&amp;')}</text>`);
    }
  }
  if (movie.objects.cities) {
    for (const f of feature(movie, movie.objects.cities).features) {
      const [x, y] = f.geometry.coordinates;
      out.push(`<circle cx="${x}" cy="${y}" r="${stroke * 3}" fill="#f46d43" stroke="#fff" stroke-width="${stroke * 0.5}"/>`);
      if (labels) out.push(`<text x="${x}" y="${y - stroke * 4}" font-size="${stroke * 10}" text-anchor="middle" font-family="sans-serif">${f.properties.name}</text>`);
    }
  }
  out.push('</svg>');
  return out.join('\n');
}

// Region colours as the chart data file gives them.
export function coloursFromXml(xml) {
  const map = new Map();
  for (const m of xml.matchAll(/<shortname>([^<]*)<\/shortname>\s*<bgcolor>(\d+)<\/bgcolor>/g)) {
    map.set(m[1].replace(/&amp;/g, '&'), Number(m[2]));
  }
  return map;
}
