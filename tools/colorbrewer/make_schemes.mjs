// Writes src/charts/ColorSchemeTable.inc from ColorBrewer's sequential and diverging
// schemes (Apache-2.0, Cynthia Brewer, Mark Harrower and The Pennsylvania State
// University); its licence is kept as data/licenses/colorbrewer-LICENSE.txt.
//   cd tools/colorbrewer && npm ci && node make_schemes.mjs
import { createRequire } from "node:module";
import { copyFileSync, writeFileSync } from "node:fs";

const require = createRequire(import.meta.url);
const { default: cb } = await import("colorbrewer/index.es.js");
const repo = new URL("../../", import.meta.url).pathname;

// ColorBrewer marks these diverging schemes as hard to tell apart with the common forms of
// colour blindness; every sequential scheme is safe.
const unsafe = new Set(["RdGy", "RdYlGn", "Spectral"]);
const groups = [
  ["Sequential", [...cb.schemeGroups.sequential, ...cb.schemeGroups.singlehue]],
  ["Diverging", cb.schemeGroups.diverging],
];

const lines = [
  "// Made by tools/colorbrewer/make_schemes.mjs from ColorBrewer's schemes; do not edit.",
  "// Each scheme: name, kind, colour-blind safe, then its colours for 3 .. n classes.",
];
for (const [kind, names] of groups) {
  for (const name of names) {
    const counts = Object.keys(cb[name]).map(Number).sort((a, b) => a - b);
    const sets = counts.map((n) => `{${cb[name][n].map((c) => "0x" + c.slice(1)).join(", ")}}`);
    lines.push(`{"${name}", SchemeKind::${kind}, ${!unsafe.has(name)}, {${sets.join(",\n    ")}}},`);
  }
}
writeFileSync(repo + "src/charts/ColorSchemeTable.inc", lines.join("\n") + "\n");
copyFileSync(require.resolve("colorbrewer/LICENSE.txt"), repo + "data/licenses/colorbrewer-LICENSE.txt");
