#!/usr/bin/env python3
"""Writes a GeoPackage of N generated regions for timing the map import and the renderer.

    tools/mapimport/make_bench_layer.py 50000 /tmp/cells50k.gpkg

The regions are six-sided cells laid like bricks over 10°W..30°E, 35°N..60°N, every corner
moved a little and every border wiggled (6 points between corners), the same on both sides
of it, as in a real administrative layer: shared borders match exactly. Fields: "name"
("Cell 12345"), "code" ("C12345") and "pop" (a number). Needs python3 and ogr2ogr (gdal-bin).
"""
import math
import os
import subprocess
import sys
import tempfile

WEST, EAST, SOUTH, NORTH = -10.0, 30.0, 35.0, 60.0
BETWEEN = 6  # border points between two corners


def noise(a, b, c=0):
    h = (a * 73856093) ^ (b * 19349663) ^ (c * 83492791)
    h = (h ^ (h >> 13)) * 1274126177 & 0xFFFFFFFF
    return (h & 0xFFFF) / 65535.0 - 0.5


def main():
    n, out = int(sys.argv[1]), sys.argv[2]
    cols = max(1, round(math.sqrt(n * 1.1)))
    rows = max(1, math.ceil(n / cols))
    dx, dy = (EAST - WEST) / (cols + 0.5), (NORTH - SOUTH) / rows

    def corner(ix2, iy):  # lattice point: x in half cells, y in rows
        return (WEST + (ix2 / 2 + 0.15 * noise(ix2, iy, 1)) * dx,
                SOUTH + (iy + 0.15 * noise(ix2, iy, 2)) * dy)

    def border(p, q):  # points from corner p to corner q, the same both ways
        if p > q:
            return list(reversed(border(q, p)))
        (ax, ay), (bx, by) = corner(*p), corner(*q)
        pts = []
        for k in range(1, BETWEEN + 1):
            t = k / (BETWEEN + 1)
            w = 0.06 * noise(p[0] * 7 + q[0], p[1] * 7 + q[1], k) * math.sin(math.pi * t)
            pts.append((ax + (bx - ax) * t - (by - ay) * w, ay + (by - ay) * t + (bx - ax) * w))
        return pts

    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "cells.geojson")
        with open(src, "w") as f:
            f.write('{"type":"FeatureCollection","name":"cells","features":[\n')
            made = 0
            for r in range(rows):
                for c in range(cols):
                    if made == n:
                        break
                    x2 = 2 * c + (r % 2)
                    ring = [(x2, r), (x2 + 1, r), (x2 + 2, r), (x2 + 2, r + 1), (x2 + 1, r + 1), (x2, r + 1)]
                    coords = []
                    for i, p in enumerate(ring):
                        coords.append(corner(*p))
                        coords.extend(border(p, ring[(i + 1) % len(ring)]))
                    coords.append(coords[0])
                    text = ",".join("[%.6f,%.6f]" % xy for xy in coords)
                    f.write('%s{"type":"Feature","properties":{"name":"Cell %d","code":"C%d","pop":%d},'
                            '"geometry":{"type":"Polygon","coordinates":[[%s]]}}\n'
                            % ("," if made else "", made + 1, made + 1, (made * 7919) % 100000, text))
                    made += 1
            f.write("]}\n")
        if os.path.exists(out):
            os.remove(out)
        subprocess.run(["ogr2ogr", "-f", "GPKG", "-nln", "cells", out, src], check=True)


if __name__ == "__main__":
    main()
