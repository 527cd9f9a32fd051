// Chart data files in the exact form the program's own writer produces:
// UTF-8, LF, two-space indentation, one element per line.
import { legendColours, SILVER, GREY, CITY_COLOUR } from './colour.mjs';

export function escapeText(s) {
  return String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

class Writer {
  constructor() { this.lines = ['<?xml version="1.0" encoding="utf-8"?>']; this.depth = 0; }
  pad() { return '  '.repeat(this.depth); }
  open(name, id) { this.lines.push(`${this.pad()}<${name}${id != null ? ` id="${id}"` : ''}>`); this.depth++; }
  close(name) { this.depth--; this.lines.push(`${this.pad()}</${name}>`); }
  leaf(name, text) { this.lines.push(`${this.pad()}<${name}>${escapeText(text)}</${name}>`); }
  toString() { return this.lines.join('\n') + '\n'; }
}

const bool = (b) => (b ? '-1' : '0');

function legend(w, n, extra) {
  const colours = legendColours(n);
  w.open('plegends');
  w.leaf('showplegend', '0');
  w.leaf('plegendcount', String(n));
  for (let k = 1; k <= n; k++) {
    w.open('plegend', k);
    w.leaf('text', `Legend ${k}`);
    w.leaf('color', String(colours[k - 1]));
    if (extra) w.leaf(extra[0], extra[1]);
    w.close('plegend');
  }
  w.close('plegends');
}

// regions: [{name, key, colour}]
export function regionChart(regions, { showtext, shade }) {
  const w = new Writer();
  w.open('provinces');
  w.leaf('regions', String(regions.length));
  w.leaf('border', String(SILVER));
  w.leaf('showtext', bool(showtext));
  regions.forEach((r, i) => provinceElement(w, r, i, shade));
  legend(w, shade ? 4 : 6, shade ? ['shade', '1'] : null);
  w.close('provinces');
  return w.toString();
}

function provinceElement(w, r, i, shade) {
  w.open('province', i + 1);
  w.leaf('name', r.name);
  w.leaf('shortname', r.key);
  w.leaf('bgcolor', String(r.colour));
  w.leaf('value', '0');
  if (shade) w.leaf('shade', '1');
  w.close('province');
}

function cityElement(w, c, i) {
  w.open('city', i + 1);
  w.leaf('name', c.name);
  w.leaf('country', c.region);
  w.leaf('bgcolor', String(CITY_COLOUR));
  w.leaf('value', '0');
  w.leaf('scale', '100');
  w.close('city');
}

// cities: [{name, region}]
export function cityChart(cities, { showtext }) {
  const w = new Writer();
  w.open('cities');
  w.leaf('regions', String(cities.length));
  w.leaf('border', String(SILVER));
  w.leaf('showtext', bool(showtext));
  cities.forEach((c, i) => cityElement(w, c, i));
  legend(w, 4, ['scale', '100']);
  w.close('cities');
  return w.toString();
}

export function regionCityChart(regions, cities) {
  const w = new Writer();
  w.open('map');
  w.leaf('border', String(GREY));
  w.open('provinces');
  w.leaf('regions', String(regions.length));
  regions.forEach((r, i) => provinceElement(w, r, i, false));
  w.close('provinces');
  w.open('cities');
  w.leaf('regions', String(cities.length));
  cities.forEach((c, i) => cityElement(w, c, i));
  w.close('cities');
  w.close('map');
  return w.toString();
}
