// Every region map: where its regions come from, how they are keyed and
// named, the projection that suits the area, insets and context land.
import {
  vsCountries, vsContext, EU27, m49, ne1Regions, ne1Context, isoName, grouped, parseGroups,
  usStates, usCounties, usStateContext, germanyNuts2, bkgLand, bothContexts, partsInBox,
} from './regions.mjs';
import { vs50, gisco, hongKongSvg, berlinOrtsteile, countryName } from './sources.mjs';
import { utm } from './geo.mjs';
import { NAMES } from './names.mjs';

export const NE = 'Made with Natural Earth.';
const USC = 'U.S. Census Bureau';
const BKG = '© GeoBasis-DE / BKG 2016';
const GISCO = '© EuroGeographics for the administrative boundaries';
const HKSVG = 'Hong Kong: svg-maps (MapSVG), CC BY 4.0';
const BER = 'Geoportal Berlin (via neighborhood-outlines)';

async function nutsNames(cc) {
  const out = {};
  for (const f of await gisco(cc)) out[f.properties.NUTS_ID] = f.properties.NAME_LATN;
  return out;
}

// ---------- continents and groups of countries (VS50) ----------
function countryMap(stem, title, members, proj, extra = {}) {
  return {
    stem, title, attribution: NE, proj, rewind: false, ...extra,
    build: () => {
      const set = members instanceof Set ? members : new Set(members);
      const regions = vsCountries((a2) => set.has(a2));
      if (extra.addRegions) regions.push(...extra.addRegions());
      return { regions, context: extra.noContext ? [] : vsContext(set) };
    },
  };
}

const worldCodes = (a2) => a2 !== 'AQ';
const world = (stem, lon0) => ({
  stem, title: 'World', attribution: NE, proj: { type: 'robin', lon0 }, simplifyPx: 0.6, rewind: false,
  build: () => ({ regions: vsCountries(worldCodes), context: [] }),
});

const europe = () => { const s = m49('150'); s.add('XK'); s.add('CY'); s.add('TR'); return s; };
const withFinlandAaland = (list) => ({ codes: new Set(list), aland: true });

function euMap(stem, title, list, frame) {
  const set = new Set(list);
  return {
    stem, title, attribution: NE, proj: { type: 'laea', lat0: 52, lon0: 10 }, frame, rewind: false,
    build: () => {
      const regions = vs50().filter((f) => set.has(f.properties.a2) || f.properties.a2 === 'AX')
        .map((f) => {
          const a2 = f.properties.a2 === 'AX' ? 'FI' : f.properties.a2;
          return { type: 'Feature', properties: { key: a2, name: countryName(a2) }, geometry: f.geometry };
        });
      set.add('AX');
      return { regions, context: vsContext(set) };
    },
  };
}

// ---------- NE1 country maps ----------
function ne1Map(stem, a3, proj, opts = {}) {
  return {
    stem, title: opts.title || stem, attribution: NE, proj, frame: opts.frame, insets: opts.insets,
    simplifyPx: opts.simplifyPx, densify: 0.2,
    build: async () => {
      let regions = ne1Regions(a3, opts);
      if (opts.more) regions.push(...opts.more());
      if (opts.group) regions = grouped(regions, opts.group.table, await opts.group.names());
      const context = opts.noContext ? [] : ne1Context([a3, ...(opts.alsoExclude || [])]);
      return { regions, context };
    },
  };
}

const BG_GROUPS = parseGroups('BG31 BG-05 BG-12 BG-06 BG-15 BG-11 · BG32 BG-04 BG-07 BG-18 BG-17 BG-19 · BG33 BG-03 BG-08 BG-27 BG-25 · BG34 BG-02 BG-20 BG-28 BG-24 · BG41 BG-22 BG-23 BG-01 BG-14 BG-10 · BG42 BG-16 BG-26 BG-13 BG-21 BG-09');
const CZ_GROUPS = parseGroups('CZ01 CZ-PR · CZ02 CZ-ST · CZ03 CZ-JC CZ-PL · CZ04 CZ-KA CZ-US · CZ05 CZ-LI CZ-KR CZ-PA · CZ06 CZ-VY CZ-JM · CZ07 CZ-OL CZ-ZL · CZ08 CZ-MO');
const SK_GROUPS = parseGroups('SK01 SK-BL · SK02 SK-TA SK-TC SK-NI · SK03 SK-ZI SK-BC · SK04 SK-PV SK-KI');
const SE_GROUPS = parseGroups('SE11 SE-AB · SE12 SE-C SE-D SE-E SE-T SE-U · SE21 SE-F SE-G SE-H SE-I · SE22 SE-K SE-M · SE23 SE-N SE-O · SE31 SE-S SE-W SE-X · SE32 SE-Y SE-Z · SE33 SE-AC SE-BD');
const IE_GROUPS = parseGroups('IE04 IE-CN IE-DL IE-LM IE-MN IE-SO IE-G IE-MO IE-RN · IE05 IE-CE IE-LK IE-TA IE-CW IE-KK IE-WD IE-WX IE-CO IE-KY · IE06 IE-D IE-KE IE-MH IE-WW IE-LH IE-LS IE-LD IE-OY IE-WH');
const HU_URBAN = { BC: 'BE', DE: 'HB', DU: 'FE', ED: 'PE', EG: 'HE', GY: 'GS', HV: 'CS', KM: 'BK', KV: 'SO', MI: 'BZ', NK: 'ZA', NY: 'SZ', PS: 'BA', SD: 'CS', SF: 'FE', SH: 'VA', SK: 'JN', SN: 'GS', SS: 'TO', ST: 'NO', TB: 'KE', VM: 'VE', ZE: 'ZA' };
const HU_GROUPS = parseGroups('HU11 HU-BU · HU12 HU-PE · HU21 HU-FE HU-KE HU-VE · HU22 HU-GS HU-VA HU-ZA · HU23 HU-BA HU-SO HU-TO · HU31 HU-BZ HU-HE HU-NO · HU32 HU-HB HU-JN HU-SZ · HU33 HU-BK HU-BE HU-CS');
const huKey = (p) => { const c = p.iso_3166_2.slice(3); return `HU-${HU_URBAN[c] || c}`; };
const huName = (p) => (HU_URBAN[p.iso_3166_2.slice(3)] ? null : p.name);

const UK_ENGLAND = { 'North East': 'UKC', 'North West': 'UKD', 'Yorkshire and the Humber': 'UKE', 'East Midlands': 'UKF', 'West Midlands': 'UKG', East: 'UKH', 'Greater London': 'UKI', 'South East': 'UKJ', 'South West': 'UKK' };
const UK_NATIONS = { Wales: 'UKL', Scotland: 'UKM', 'Northern Ireland': 'UKN' };
const ukKey = (p) => (p.geonunit === 'England' ? UK_ENGLAND[p.region] : UK_NATIONS[p.geonunit]);

const ES_COMMUNITY = { 'ES.NA': 'ES-NC', 'ES.LO': 'ES-RI', 'ES.MU': 'ES-MC', 'ES.PM': 'ES-IB' };
const esKey = (p) => ES_COMMUNITY[p.region_cod] || p.region_cod.replace('.', '-');

const FR_KEY = { 'FR-GUF': 'FR-973', 'FR-GUA': 'FR-971', 'FR-MTQ': 'FR-972', 'FR-LRE': 'FR-974', 'FR-MAY': 'FR-976', 'FR-COR': 'FR-20R' };
const FR_INSET = { 'FR-971': 0, 'FR-972': 1, 'FR-973': 2, 'FR-974': 3, 'FR-976': 4 };
const frKey = (p) => FR_KEY[p.region_cod] || p.region_cod;
const insetColumn = (i, n, x0 = -0.24, x1 = -0.05) => [x0, 0.02 + i / n, x1, (i + 1) / n - 0.02];
const FRANCE_INSETS = [
  { proj: { type: 'laea', lat0: 16.2, lon0: -61.5 }, box: insetColumn(0, 5) },
  { proj: { type: 'laea', lat0: 14.6, lon0: -61 }, box: insetColumn(1, 5) },
  { proj: { type: 'laea', lat0: 4, lon0: -53 }, box: insetColumn(2, 5) },
  { proj: { type: 'laea', lat0: -21.1, lon0: 55.5 }, box: insetColumn(3, 5) },
  { proj: { type: 'laea', lat0: -12.8, lon0: 45.1 }, box: insetColumn(4, 5) },
];
const PT_INSETS = [
  { proj: { type: 'laea', lat0: 38.5, lon0: -28 }, box: [-1.3, 0.04, -0.15, 0.32] },
  { proj: { type: 'laea', lat0: 32.8, lon0: -16.9 }, box: [-0.75, 0.45, -0.2, 0.62] },
];
const ptInset = (k) => (k === 'PT-20' || k === 'PT20' ? 0 : k === 'PT-30' || k === 'PT30' ? 1 : null);

const CHINA_EXTRA = () => [
  ...ne1Regions('HKG', { key: () => 'CN-HK', name: () => 'Hong Kong' }),
  ...ne1Regions('MAC', { key: () => 'CN-MO', name: () => 'Macau' }),
  ...ne1Regions('TWN', { key: () => 'CN-TW', name: () => 'Taiwan' }),
];

export const REGION_MAPS = [
  world('World', 0),
  world('World2', 150),
  countryMap('Africa', 'Africa', m49('002'), { type: 'laea', lat0: 5, lon0: 20 }, { frame: [-26, -36, 64, 38] }),
  countryMap('Asia', 'Asia', (() => { const s = m49('142'); s.add('TW'); return s; })(), { type: 'laea', lat0: 30, lon0: 90 }, { frame: [25, -12, 150, 56] }),
  countryMap('Europe', 'Europe', europe(), { type: 'laea', lat0: 52, lon0: 10 }, { frame: [-25, 34, 45, 72] }),
  euMap('Europe1', 'European Union', EU27, [-10.7, 34, 34.7, 71.5]),
  euMap('Europe2', 'Europe', [...EU27, 'IS', 'LI', 'NO', 'CH', 'GB'], [-25, 34, 35, 71.5]),
  countryMap('South American', 'South America', (() => { const s = m49('005'); s.delete('GS'); return s; })(),
    { type: 'aea', parallels: [-5, -42], lat0: -32, lon0: -60 }, {
      frame: [-92, -56, -34, 13],
      addRegions: () => vs50().filter((f) => f.properties.a2 === 'FR')
        .map((f) => ({ type: 'Feature', properties: { key: 'GF', name: 'French Guiana' }, geometry: partsInBox(f.geometry, [-55, 1, -51, 6]) })),
    }),
  countryMap('Mediterranean', 'Mediterranean', 'ES FR MC IT MT SI HR BA ME AL GR TR CY SY LB IL PS EG LY TN DZ MA'.split(' '),
    { type: 'lcc', parallels: [33, 45], lat0: 39, lon0: 16 }, { frame: [-10, 28, 43, 48] }),
  countryMap('Middle-East', 'Middle East', 'BH CY EG IR IQ IL JO KW LB OM PS QA SA SY TR AE YE'.split(' '),
    { type: 'laea', lat0: 28, lon0: 45 }, { frame: [24, 10, 64, 43] }),
  countryMap('South East Asia', 'South East Asia', m49('035'), { type: 'laea', lat0: 5, lon0: 115 }, { frame: [90, -12, 142, 29] }),

  ne1Map('Argentine', 'ARG', { type: 'aea', parallels: [-25, -45], lat0: -35, lon0: -65 }, { title: 'Argentina', frame: [-76, -56, -52, -21] }),
  ne1Map('Australia', 'AUS', { type: 'aea', parallels: [-18, -36], lat0: -27, lon0: 132 }, {
    frame: [112, -44, 154, -9],
    key: (p) => ({ 'AU-X02~': 'AU-ACT', 'AU-X03~': 'AU-TAS' }[p.iso_3166_2] || p.iso_3166_2),
    name: (p) => (p.iso_3166_2.includes('~') || p.name === 'Lord Howe Island' ? null : p.name),
  }),
  ne1Map('Austria', 'AUT', { type: 'lcc', parallels: [49, 46], lat0: 47.5, lon0: 13.33 }),
  ne1Map('Belarus', 'BLR', { type: 'laea', lat0: 53.7, lon0: 28 }),
  ne1Map('Belgium', 'BEL', { type: 'lcc', parallels: [49.83, 51.17], lat0: 50.5, lon0: 4.36 }),
  ne1Map('Brazil', 'BRA', { type: 'poly', lon0: -54 }, { frame: [-75, -34, -28, 6] }),
  ne1Map('Bulgaria_NUTS2', 'BGR', { type: 'laea', lat0: 42.7, lon0: 25.3 }, { title: 'Bulgaria', group: { table: BG_GROUPS, names: () => nutsNames('BG') } }),
  ne1Map('Burundi', 'BDI', { type: 'laea', lat0: -3.4, lon0: 29.9 }),
  ne1Map('Canada', 'CAN', { type: 'lcc', parallels: [49, 77], lat0: 63.39, lon0: -91.87 }, { simplifyPx: 1.0 }),
  ne1Map('China', 'CHN', { type: 'aea', parallels: [25, 47], lat0: 35, lon0: 105 }, {
    filter: (p) => p.iso_3166_2 !== 'CN-X01~', name: (p) => p.name_en, more: CHINA_EXTRA, alsoExclude: ['HKG', 'MAC', 'TWN'],
  }),
  hongKongMap(),
  ne1Map('Czech', 'CZE', { type: 'laea', lat0: 49.8, lon0: 15.5 }, { title: 'Czechia' }),
  ne1Map('Czech_NUTS2', 'CZE', { type: 'laea', lat0: 49.8, lon0: 15.5 }, { title: 'Czechia', group: { table: CZ_GROUPS, names: () => nutsNames('CZ') } }),
  ne1Map('Denmark', 'DNK', utm(32), { frame: [7.5, 54.4, 15.5, 58] }),
  ne1Map('Finland', 'FIN', utm(35), { more: () => ne1Regions('ALD', { key: () => 'FI-01', name: () => 'Åland' }), alsoExclude: ['ALD'] }),
  ne1Map('France', 'FRA', { type: 'lcc', parallels: [44, 49], lat0: 46.5, lon0: 3 }, {
    key: frKey, name: (p) => p.region, inset: (p) => FR_INSET[frKey(p)], insets: FRANCE_INSETS,
  }),
  ne1Map('Germany', 'DEU', utm(32)),
  germanyNuts2Map(),
  berlinMap(),
  ne1Map('Greece', 'GRC', { type: 'tm', lat0: 0, lon0: 24 }, {
    key: (p) => ({ 'GR-A1': 'GR-I', 'GR-69': 'GR-B' }[p.iso_3166_2] || p.iso_3166_2), name: (p) => (p.iso_3166_2 === 'GR-69' ? null : p.name_en),
  }),
  ne1Map('Hungary', 'HUN', { type: 'laea', lat0: 47.2, lon0: 19.5 }, { key: huKey, name: huName }),
  ne1Map('Hungary_NUTS2', 'HUN', { type: 'laea', lat0: 47.2, lon0: 19.5 }, { title: 'Hungary', key: huKey, group: { table: HU_GROUPS, names: () => nutsNames('HU') } }),
  ne1Map('India', 'IND', { type: 'lcc', parallels: [12, 28], lat0: 20, lon0: 80 }, { name: (p) => p.name_en }),
  ne1Map('Indonesia', 'IDN', { type: 'merc', lon0: 118 }),
  ne1Map('Ireland', 'IRL', { type: 'tm', lat0: 53.5, lon0: -8 }, { name: (p) => isoName(p.iso_3166_2) }),
  ne1Map('Ireland_NUTS2', 'IRL', { type: 'tm', lat0: 53.5, lon0: -8 }, { title: 'Ireland', group: { table: IE_GROUPS, names: () => nutsNames('IE') } }),
  ne1Map('Italy', 'ITA', { type: 'tm', lat0: 0, lon0: 12 }, { key: (p) => p.region_cod, name: () => null }),
  ne1Map('Japan', 'JPN', { type: 'lcc', parallels: [30, 45], lat0: 36, lon0: 137 }, { frame: [122, 24, 149, 46] }),
  ne1Map('Mexico', 'MEX', { type: 'lcc', parallels: [17.5, 29.5], lat0: 12, lon0: -102 }, {
    filter: (p) => p.iso_3166_2 !== 'MX-X01~', key: (p) => (p.iso_3166_2 === 'MX-DIF' ? 'MX-CMX' : p.iso_3166_2),
  }),
  ne1Map('Netherlands', 'NLD', { type: 'stere', lat0: 52.156, lon0: 5.387 }, { filter: (p) => !p.iso_3166_2.startsWith('NL-BQ') }),
  ne1Map('Poland', 'POL', { type: 'tm', lat0: 0, lon0: 19 }, { name: (p) => p.name_en.replace(/ Voivodeship$/, '') }),
  ne1Map('Portugal', 'PRT', { type: 'laea', lat0: 39.5, lon0: -8 }, { inset: (p) => ptInset(p.iso_3166_2), insets: PT_INSETS }),
  portugalNuts2Map(),
  ne1Map('Romania', 'ROU', { type: 'stere', lat0: 46, lon0: 25 }, { name: (p) => p.name_en }),
  ne1Map('Slovakia', 'SVK', { type: 'laea', lat0: 48.7, lon0: 19.5 }, { name: (p) => isoName(p.iso_3166_2) }),
  ne1Map('Slovakia_NUTS2', 'SVK', { type: 'laea', lat0: 48.7, lon0: 19.5 }, { title: 'Slovakia', group: { table: SK_GROUPS, names: () => nutsNames('SK') } }),
  giscoMap('Slovenia_NUTS2', 'Slovenia', 'SI', 'SVN', { type: 'laea', lat0: 46.1, lon0: 14.8 }),
  ne1Map('South Africa', 'ZAF', { type: 'aea', parallels: [-24, -33], lat0: -29, lon0: 24 }, { frame: [16, -35, 33, -22] }),
  ne1Map('South Korea', 'KOR', { type: 'tm', lat0: 38, lon0: 127.5 }),
  ne1Map('Spain', 'ESP', { type: 'lcc', parallels: [38, 42], lat0: 40, lon0: -3.5 }, {
    key: esKey, name: () => null, inset: (p) => (esKey(p) === 'ES-CN' ? 0 : null),
    insets: [{ proj: { type: 'laea', lat0: 28.3, lon0: -15.8 }, box: [-0.3, 0.86, 0.1, 1.12] }],
  }),
  ne1Map('Sweden', 'SWE', utm(33)),
  ne1Map('Sweden_NUTS2', 'SWE', utm(33), { title: 'Sweden', group: { table: SE_GROUPS, names: () => nutsNames('SE') } }),
  ne1Map('United Kingdom', 'GBR', { type: 'tm', lat0: 49, lon0: -2 }, { key: ukKey, name: () => null, alsoExclude: ['IMN', 'GGY', 'JEY'] }),
  giscoMap('UK_NUTS2', 'United Kingdom', 'UK', 'GBR', { type: 'tm', lat0: 49, lon0: -2 }, ['IMN', 'GGY', 'JEY']),
  {
    stem: 'United States', title: 'United States', attribution: USC, proj: { type: 'albersusa' },
    build: () => ({ regions: usStates(), context: [] }),
  },
  {
    stem: 'New Jersey', title: 'New Jersey', attribution: USC, proj: { type: 'tm', lat0: 38.83, lon0: -74.5 },
    build: () => ({ regions: usCounties('34'), context: bothContexts(usStateContext(['34']), ne1Context(['USA'])) }),
  },
  {
    stem: 'New York', title: 'New York', attribution: `${USC}. ${NE}`, proj: utm(18),
    build: () => {
      const regions = usCounties('36');
      return { regions, context: bothContexts(usStateContext(['36']), ne1Context(['USA'])) };
    },
  },
  ne1Map('US and CA', 'USA', { type: 'lcc', parallels: [20, 60], lat0: 40, lon0: -96 }, {
    title: 'United States and Canada', simplifyPx: 0.8,
    more: () => ne1Regions('CAN'), alsoExclude: ['CAN'],
    inset: (p) => (p.iso_3166_2 === 'US-HI' ? 0 : null),
    insets: [{ proj: { type: 'laea', lat0: 20.5, lon0: -157.5 }, box: [0.0, 0.7, 0.3, 0.97] }],
  }),
];

// Base maps of the city maps that are no region map of their own.
export const BASE_MAPS = [
  ne1Map('Thailand', 'THA', utm(47)),
];

function hongKongMap() {
  return {
    stem: 'CN-HongKong', title: 'Hong Kong', attribution: HKSVG, proj: { type: 'plane' }, snap: 0.3, simplifyPx: 0.3,
    build: () => {
      const regions = hongKongSvg().map((p) => ({
        type: 'Feature',
        properties: { key: `HK.${p.id.toUpperCase()}`, name: p.name },
        geometry: scaleGeometry(p.geometry, 1000),
      }));
      return { regions, context: [] };
    },
  };
}

function scaleGeometry(g, k) {
  const r = (ring) => ring.map(([x, y]) => [x * k, y * k]);
  if (g.type === 'Polygon') return { type: 'Polygon', coordinates: g.coordinates.map(r) };
  return { type: 'MultiPolygon', coordinates: g.coordinates.map((p) => p.map(r)) };
}

function germanyNuts2Map() {
  return {
    stem: 'Germany_NUTS2', title: 'Germany', attribution: `${BKG}. ${NE}`, proj: utm(32), simplifyPx: 0.6,
    build: async () => {
      const regions = germanyNuts2(await nutsNames('DE'));
      return { regions, context: ne1Context(['DEU']) };
    },
  };
}

function berlinMap() {
  return {
    stem: 'DE_Berlin', title: 'Berlin', attribution: `${BER}. ${BKG}`, proj: utm(33),
    build: () => {
      const regions = berlinOrtsteile().map((f) => ({
        type: 'Feature',
        properties: { key: f.properties.spatial_name.slice(0, 2), name: f.properties.BEZIRK },
        geometry: f.geometry,
      }));
      return { regions, context: bothContexts(bkgLand(['11000']), ne1Context(['DEU'])) };
    },
  };
}

function giscoMap(stem, title, cc, a3, proj, alsoExclude = []) {
  return {
    stem, title, attribution: `${GISCO}. ${NE}`, proj, densify: 0.2,
    insets: cc === 'PT' ? PT_INSETS : undefined,
    build: async () => {
      const regions = (await gisco(cc)).map((f) => {
        const props = { key: f.properties.NUTS_ID, name: f.properties.NAME_LATN };
        const i = ptInset(f.properties.NUTS_ID);
        if (cc === 'PT' && i != null) props.inset = i;
        return { type: 'Feature', properties: props, geometry: f.geometry };
      });
      return { regions, context: ne1Context([a3, ...alsoExclude]) };
    },
  };
}

function portugalNuts2Map() {
  return giscoMap('Portugal_NUTS2', 'Portugal', 'PT', 'PRT', { type: 'laea', lat0: 39.5, lon0: -8 });
}

export { NAMES };
