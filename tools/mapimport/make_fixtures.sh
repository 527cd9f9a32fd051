#!/usr/bin/env bash
# Makes the map import test fixtures in tests/mapimport/data from the hand-written GeoJSON
# files beside this script, with GDAL's own ogr2ogr (Debian: gdal-bin) and python3.
#
# source.geojson  nine districts: names in Greek, Cyrillic, Japanese and Arabic, a hole with
#                 an enclave filling it, a multipolygon with an island, an invalid bow-tie,
#                 two districts of the same name
# towns.geojson   six towns: a name repeated in one state and in another
# roads.geojson   a line layer (nothing to chart)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=$(cd "$HERE/../.." && pwd)/tests/mapimport/data
rm -rf "$OUT"
mkdir -p "$OUT"
# Fixed timestamps keep the GeoPackage the same on every run.
export OGR_CURRENT_DATE=2024-01-01T00:00:00Z

# GeoJSON as GDAL writes it (RFC 7946: longitude/latitude, outer rings counter-clockwise).
ogr2ogr -f GeoJSON -lco RFC7946=YES "$OUT/districts.geojson" "$HERE/source.geojson"
ogr2ogr -f GeoJSON -lco RFC7946=YES "$OUT/towns.geojson" "$HERE/towns.geojson"
ogr2ogr -f GeoJSON -lco RFC7946=YES "$OUT/roads.geojson" "$HERE/roads.geojson"

# A shapefile in a projected reference system (ETRS89 / LAEA Europe), names in UTF-8 (.cpg).
ogr2ogr -f "ESRI Shapefile" -t_srs EPSG:3035 -lco ENCODING=UTF-8 \
  "$OUT/districts.shp" "$HERE/source.geojson"

# The same shapefile zipped, as shapefiles are often handed out.
python3 - "$OUT" <<'PY'
import sys, zipfile
out = sys.argv[1]
with zipfile.ZipFile(out + "/districts_shp.zip", "w", zipfile.ZIP_DEFLATED) as z:
    for ext in ("shp", "shx", "dbf", "prj", "cpg"):
        info = zipfile.ZipInfo("districts." + ext, (2024, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, open(out + "/districts." + ext, "rb").read())
PY

# A GeoPackage with a point layer first and the polygon layer second, and the source's
# name and licence in its metadata.
ogr2ogr -f GPKG -nln towns -mo "SOURCE=Tolvane test districts" -mo "LICENSE=CC BY 4.0" \
  "$OUT/regions.gpkg" "$HERE/towns.geojson"
ogr2ogr -f GPKG -update -nln districts "$OUT/regions.gpkg" "$HERE/source.geojson"

# TopoJSON: GDAL reads it but cannot write it, so each ring becomes one arc of its own here.
python3 - "$HERE/source.geojson" "$OUT/districts.topojson" <<'PY'
import json, sys
src = json.load(open(sys.argv[1], encoding="utf-8"))
arcs, geometries = [], []
def ring(coords):
    arcs.append(coords)
    return len(arcs) - 1
for f in src["features"]:
    g = f["geometry"]
    if g["type"] == "Polygon":
        a = [[ring(r)] for r in g["coordinates"]]
    else:
        a = [[[ring(r)] for r in p] for p in g["coordinates"]]
    geometries.append({"type": g["type"], "arcs": a, "properties": f["properties"]})
topo = {"type": "Topology", "arcs": arcs,
        "objects": {"districts": {"type": "GeometryCollection", "geometries": geometries}}}
json.dump(topo, open(sys.argv[2], "w", encoding="utf-8"), ensure_ascii=False)
PY
ls -l "$OUT"
