#!/usr/bin/env python3
"""Writes meshgate_golden.txt: reference plane coordinates from PROJ's cs2cs.

GRS80 (JGD2011): EPSG:6668 -> EPSG:6669..6687 (zones 1..19).
Bessel (Tokyo):  EPSG:4301 -> EPSG:30161..30179 (zones 1..19).
Both pairs share their datum, so PROJ applies no datum shift: the conversion is the
transverse Mercator on the ellipsoid alone, which is what Meshgate computes. The script
checks that for every zone before it writes anything.

EPSG geographic CRSs take latitude first; the plane CRSs give x (northing) first.
Run from this folder:  python3 make_meshgate_golden.py > meshgate_golden.txt
"""
import subprocess
import sys

# Origin latitude and central meridian of each zone, degrees and minutes.
ZONES = [
    (33, 0, 129, 30), (33, 0, 131, 0), (36, 0, 132, 10), (33, 0, 133, 30),
    (36, 0, 134, 20), (36, 0, 136, 0), (36, 0, 137, 10), (36, 0, 138, 30),
    (36, 0, 139, 50), (40, 0, 140, 50), (44, 0, 140, 15), (44, 0, 142, 15),
    (44, 0, 144, 15), (26, 0, 142, 0), (26, 0, 127, 30), (26, 0, 124, 0),
    (26, 0, 131, 0), (20, 0, 136, 0), (26, 0, 154, 0),
]

# Offsets from the zone origin (degrees of latitude, longitude): the origin itself, points
# on either side of the central meridian and of the origin parallel, out to the edges of
# a zone's working area.
OFFSETS = [
    (0.0, 0.0),
    (0.75, 0.5),
    (-1.25, -0.8),
    (1.9, -1.3),
    (-0.4, 1.45),
    (0.123456, -0.0654321),
    (1.0, 0.0),
]

DATUMS = [
    # ellipsoid code, geographic CRS, first plane CRS code
    (1, "EPSG:6668", 6669),
    (2, "EPSG:4301", 30161),
]


def check_no_datum_shift(src, dst):
    pipeline = subprocess.run(["projinfo", "-s", src, "-t", dst, "-o", "PROJ", "-q"],
                              capture_output=True, text=True, check=True).stdout
    for word in ("helmert", "gridshift", "molodensky", "cart"):
        if word in pipeline:
            sys.exit(f"{src} -> {dst} applies a datum shift: {pipeline}")
    if "+proj=tmerc" not in pipeline or "+k=0.9999" not in pipeline:
        sys.exit(f"{src} -> {dst} is not the expected transverse Mercator: {pipeline}")


def main():
    print("# Meshgate reference values from PROJ cs2cs (EPSG:6668 -> 6669..6687 for GRS80,")
    print("# EPSG:4301 -> 30161..30179 for Bessel; same datum, no shift).")
    print("# Written by make_meshgate_golden.py.")
    print("# ellipsoid zone latitude longitude x(northing,m) y(easting,m)")
    for code, geographic, first in DATUMS:
        for zone, (lat_d, lat_m, lon_d, lon_m) in enumerate(ZONES, start=1):
            plane = f"EPSG:{first + zone - 1}"
            check_no_datum_shift(geographic, plane)
            lat0 = lat_d + lat_m / 60.0
            lon0 = lon_d + lon_m / 60.0
            points = [(f"{lat0 + dlat:.9f}", f"{lon0 + dlon:.9f}") for dlat, dlon in OFFSETS]
            text = "".join(f"{lat} {lon}\n" for lat, lon in points)
            out = subprocess.run(["cs2cs", "-f", "%.6f", geographic, plane], input=text,
                                 capture_output=True, text=True, check=True).stdout
            rows = out.splitlines()
            if len(rows) != len(points):
                sys.exit(f"cs2cs gave {len(rows)} rows for {len(points)} points")
            for (lat, lon), row in zip(points, rows):
                x, y = row.split()[:2]
                print(f"{code} {zone} {lat} {lon} {x} {y}")


if __name__ == "__main__":
    main()
