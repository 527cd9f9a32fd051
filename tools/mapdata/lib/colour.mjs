// Default colours of the shipped charts.

// Soft pastel qualitative palette (0xRRGGBB).
export const PALETTE = [0xFBB4AE, 0xB3CDE3, 0xCCEBC5, 0xDECBE4, 0xFED9A6, 0xFFFFCC, 0xE5D8BD, 0xFDDAEC, 0xD9E8F5];

export const CITY_COLOUR = 0xF46D43;
export const SILVER = 0xC0C0C0;
export const GREY = 0x808080;

const LEGEND_FROM = [240, 255, 224];
const LEGEND_TO = [38, 113, 20];

// Same arithmetic as the program's gradient: multiplication first, then a
// division truncated toward zero, per channel.
export function legendColours(n) {
  const out = [];
  for (let k = 0; k < n; k++) {
    const ch = LEGEND_FROM.map((lo, i) => (n === 1 ? lo : lo + Math.trunc(((LEGEND_TO[i] - lo) * k) / (n - 1))));
    out.push((ch[0] << 16) | (ch[1] << 8) | ch[2]);
  }
  return out;
}

// Greedy colouring: most-connected regions first; each takes the least used
// colour that none of its neighbours has, so colours spread evenly.
export function colourRegions(adj, palette = PALETTE) {
  const keys = [...adj.keys()].sort((a, b) => adj.get(b).size - adj.get(a).size || (a < b ? -1 : a > b ? 1 : 0));
  const used = new Array(palette.length).fill(0);
  const colour = new Map();
  for (const k of keys) {
    const taken = new Set([...adj.get(k)].map((n) => colour.get(n)).filter((c) => c != null));
    let best = -1;
    for (let c = 0; c < palette.length; c++) {
      if (taken.has(c)) continue;
      if (best < 0 || used[c] < used[best]) best = c;
    }
    if (best < 0) best = 0;
    used[best]++;
    colour.set(k, best);
  }
  return new Map([...colour].map(([k, c]) => [k, palette[c]]));
}
