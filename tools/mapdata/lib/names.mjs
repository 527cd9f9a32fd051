// Display-name corrections per map: the sources carry ASCII-folded or
// misspelt names ("Orebro", "Sjaælland"), adjective forms, or no usable
// name at all after regions were merged.
export const NAMES = {
  Belarus: { 'BY-HM': 'Minsk City', 'BY-MI': 'Minsk Region' },
  Belgium: { 'BE-BRU': 'Brussels-Capital', 'BE-WLG': 'Liège' },
  Czech: {
    'CZ-JC': 'South Bohemian', 'CZ-JM': 'South Moravian', 'CZ-KA': 'Karlovy Vary', 'CZ-KR': 'Hradec Králové',
    'CZ-LI': 'Liberec', 'CZ-MO': 'Moravian-Silesian', 'CZ-OL': 'Olomouc', 'CZ-PA': 'Pardubice', 'CZ-PL': 'Plzeň',
    'CZ-PR': 'Prague', 'CZ-ST': 'Central Bohemian', 'CZ-US': 'Ústí nad Labem', 'CZ-VY': 'Vysočina', 'CZ-ZL': 'Zlín',
  },
  Denmark: { 'DK-85': 'Sjælland' },
  Greece: {
    'GR-B': 'Central Macedonia', 'GR-C': 'Western Macedonia', 'GR-E': 'Thessaly', 'GR-G': 'Western Greece',
    'GR-H': 'Central Greece', 'GR-I': 'Attica',
  },
  Hungary: { 'HU-GS': 'Győr-Moson-Sopron', 'HU-CS': 'Csongrád-Csanád' },
  Indonesia: { 'ID-JK': 'Jakarta', 'ID-BB': 'Bangka Belitung' },
  Italy: {
    'IT-21': 'Piemonte', 'IT-23': "Valle d'Aosta", 'IT-25': 'Lombardia', 'IT-32': 'Trentino-Alto Adige', 'IT-34': 'Veneto',
    'IT-36': 'Friuli-Venezia Giulia', 'IT-42': 'Liguria', 'IT-45': 'Emilia-Romagna', 'IT-52': 'Toscana', 'IT-55': 'Umbria',
    'IT-57': 'Marche', 'IT-62': 'Lazio', 'IT-65': 'Abruzzo', 'IT-67': 'Molise', 'IT-72': 'Campania', 'IT-75': 'Puglia',
    'IT-77': 'Basilicata', 'IT-78': 'Calabria', 'IT-82': 'Sicilia', 'IT-88': 'Sardegna',
  },
  Mexico: { 'MX-CMX': 'Ciudad de México' },
  Romania: { 'RO-B': 'București' },
  Spain: {
    'ES-AN': 'Andalucía', 'ES-AR': 'Aragón', 'ES-AS': 'Asturias', 'ES-IB': 'Illes Balears', 'ES-CN': 'Canarias',
    'ES-CB': 'Cantabria', 'ES-CL': 'Castilla y León', 'ES-CM': 'Castilla-La Mancha', 'ES-CT': 'Cataluña',
    'ES-VC': 'Comunitat Valenciana', 'ES-EX': 'Extremadura', 'ES-GA': 'Galicia', 'ES-RI': 'La Rioja',
    'ES-MD': 'Comunidad de Madrid', 'ES-MC': 'Región de Murcia', 'ES-NC': 'Navarra', 'ES-PV': 'País Vasco',
    'ES-CE': 'Ceuta', 'ES-ML': 'Melilla',
  },
  Sweden: { 'SE-T': 'Örebro' },
  'United Kingdom': {
    UKC: 'North East', UKD: 'North West', UKE: 'Yorkshire and the Humber', UKF: 'East Midlands', UKG: 'West Midlands',
    UKH: 'East of England', UKI: 'London', UKJ: 'South East', UKK: 'South West', UKL: 'Wales', UKM: 'Scotland',
    UKN: 'Northern Ireland',
  },
  Thailand: { 'TH-10': 'Bangkok' },
  France: { 'FR-973': 'Guyane', 'FR-974': 'La Réunion' },
};

// One name per key: the override, else the first name a piece carried.
export function normalizeNames(stem, features) {
  const table = NAMES[stem] || {};
  const chosen = new Map();
  for (const f of features) {
    const k = f.properties.key;
    if (!chosen.has(k) || chosen.get(k) == null) chosen.set(k, table[k] ?? f.properties.name ?? null);
  }
  for (const [k, n] of chosen) if (!n) throw new Error(`${stem}: no name for ${k}`);
  return features.map((f) => ({ ...f, properties: { ...f.properties, name: chosen.get(f.properties.key) } }));
}
