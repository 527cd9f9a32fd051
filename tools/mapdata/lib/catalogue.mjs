// Which files the program expects and how they relate to the region maps.

// Maps whose region names the "Show Name" box may switch on.
export const SHOW_NAMES = new Set(['China', 'Germany', 'Italy', 'United States', 'Portugal', 'South East Asia', 'United Kingdom',
  'Australia', 'Canada', 'Romania', 'Spain', 'Burundi', 'Netherlands', 'South Korea', 'Europe2', 'Belgium', 'Europe1']);

export const CITY_SHOW_NAMES = new Set(['WorldCity', 'EuropeCity', 'CNCity', 'FranceCity', 'ItalyCity', 'SpainCity', 'UKCity']);

// [file stem, region map it is drawn on]
export const SHADE_MAPS = [['Chinaad', 'China'], ['Germany3', 'Germany'], ['Italy2', 'Italy']];

// [file stem, base map, city list]
export const CITY_MAPS = [
  ['WorldCity', 'World', 'world'], ['EuropeCity', 'Europe', 'europe'], ['CNCity', 'China', 'china'],
  ['FranceCity', 'France', 'france'], ['GermanyCity', 'Germany', 'germany'], ['ItalyCity', 'Italy', 'italy'],
  ['JapanCity', 'Japan', 'japan'], ['SouthKoreaCity', 'South Korea', 'korea'], ['SpainCity', 'Spain', 'spain'],
  ['ThailandCity', 'Thailand', 'thailand'], ['UKCity', 'United Kingdom', 'uk'], ['USACity', 'United States', 'usa'],
];

export const REGION_CITY_MAPS = [
  ['WorldRC', 'World', 'world'], ['ChinaRC', 'China', 'china'], ['GermanyRC', 'Germany', 'germany'],
  ['NetherlandsRC', 'Netherlands', 'netherlands'], ['USAPCity', 'United States', 'usa'],
];
