#!/usr/bin/env python3
"""Reads a 3D DXF file written by the viewer back with ezdxf and checks it against PROJ.

  check_dxf3d.py FILE.dxf INPUT.qsona ZONE UNIT POLYLINES VERTICES

UNIT is "m" or "mm"; POLYLINES and VERTICES are the expected counts (a file that loads
nothing must not pass). Checks: ezdxf reads it (encoding cp932) and its audit finds no
errors; version AC1009; the polylines are 3D polylines with the expected counts; every
entity's layer is in the layer table and the table's count equals its entries (raw tag
scan); every number is finite; each vertex lies within 1 mm of a Q-SONA point of the
input converted by cs2cs (GRS80: EPSG:6668 to 6669 + zone - 1; Bessel: EPSG:4301 to
30161 + zone - 1).

Exit status: 0 passed, 1 failed (the reason on stdout), 77 skipped (ezdxf or cs2cs
missing).
"""

import math
import shutil
import subprocess
import sys


def fail(msg):
    print("FAIL: " + msg)
    sys.exit(1)


def raw_tags(path):
    with open(path, "rb") as f:
        data = f.read()
    if b"\r\n" not in data or data.count(b"\n") != data.count(b"\r\n"):
        fail("line ends are not all CR LF")
    lines = data.decode("cp932").split("\r\n")
    if lines[-1] == "":
        lines.pop()
    if len(lines) % 2:
        fail("odd number of lines")
    return [(int(lines[i]), lines[i + 1]) for i in range(0, len(lines), 2)]


def check_raw(tags):
    for code, value in tags:
        if 10 <= code <= 59:
            v = float(value)
            if not math.isfinite(v):
                fail("group %d holds %r" % (code, value))
    # The layer table: its count and its entries.
    i = next(k for k, t in enumerate(tags) if t == (2, "LAYER") and tags[k - 1] == (0, "TABLE"))
    count = int(tags[i + 1][1]) if tags[i + 1][0] == 70 else fail("no layer count")
    names = []
    k = i + 2
    while tags[k] != (0, "ENDTAB"):
        if tags[k] == (0, "LAYER"):
            names.append(tags[k + 1][1])
        k += 1
    if count != len(names):
        fail("layer table says %d, holds %d" % (count, len(names)))
    start = tags.index((2, "ENTITIES"))
    used = {v for c, v in tags[start:] if c == 8}
    missing = used - set(names)
    if missing:
        fail("layers not in the table: %s" % sorted(missing))


def qsona_points(path):
    points = []
    datum = None
    with open(path, "rb") as f:
        for raw in f.read().split(b"\n"):
            line = raw.rstrip(b"\r")
            if len(line) < 60 or line[0:1] not in (b"L", b"N", b"M"):
                continue
            if datum is None:
                datum = line[59:60]
            points.append((float(line[17:26]), float(line[26:36])))
    return datum, points


def main():
    path, qsona, zone, unit, want_polylines, want_vertices = sys.argv[1:7]
    zone, want_polylines, want_vertices = int(zone), int(want_polylines), int(want_vertices)
    scale = 1000.0 if unit == "mm" else 1.0
    try:
        import ezdxf
    except ImportError:
        print("SKIP: python3-ezdxf is not installed")
        sys.exit(77)
    cs2cs = shutil.which("cs2cs")
    if cs2cs is None:
        print("SKIP: cs2cs (proj-bin) is not installed")
        sys.exit(77)

    tags = raw_tags(path)
    check_raw(tags)

    doc = ezdxf.readfile(path, encoding="cp932")
    if doc.dxfversion != "AC1009":
        fail("version %s" % doc.dxfversion)
    auditor = doc.audit()
    if auditor.has_errors:
        fail("audit: %s" % [e.message for e in auditor.errors])
    msp = doc.modelspace()
    polylines = list(msp.query("POLYLINE"))
    if len(polylines) != want_polylines:
        fail("%d polylines, want %d" % (len(polylines), want_polylines))
    vertices = []
    for p in polylines:
        if not p.is_3d_polyline:
            fail("a polyline that is not 3D")
        if p.dxf.layer not in doc.layers:
            fail("layer %s not in the table" % p.dxf.layer)
        vs = list(p.vertices)
        if len(vs) < 2:
            fail("a polyline of %d vertices" % len(vs))
        for v in vs:
            if v.dxf.layer != p.dxf.layer:
                fail("vertex layer %s in a polyline on %s" % (v.dxf.layer, p.dxf.layer))
            vertices.append(v.dxf.location)
    if len(vertices) != want_vertices:
        fail("%d vertices, want %d" % (len(vertices), want_vertices))

    datum, points = qsona_points(qsona)
    if datum == b"1":
        src, dst = "EPSG:6668", "EPSG:%d" % (6669 + zone - 1)
    elif datum == b"2":
        src, dst = "EPSG:4301", "EPSG:%d" % (30161 + zone - 1)
    else:
        fail("input datum %r" % datum)
    text = "".join("%.9f %.9f\n" % p for p in points)
    out = subprocess.run([cs2cs, "-f", "%.6f", src, dst], input=text, capture_output=True,
                         text=True, check=True).stdout.split("\n")
    plane = []
    for row in out:
        f = row.split()
        if len(f) >= 2:
            plane.append((float(f[0]) * scale, float(f[1]) * scale))  # northing, easting
    worst = 0.0
    for loc in vertices:
        easting, northing = loc.x, loc.y
        best = min(math.hypot(northing - n, easting - e) for n, e in plane)
        worst = max(worst, best)
    tolerance = 0.001 * scale  # 1 mm in the file's unit
    if worst > tolerance:
        fail("a vertex %.6f from cs2cs (tolerance %.6f)" % (worst, tolerance))
    print("OK: %d polylines, %d vertices, worst %.6f mm from cs2cs" % (len(polylines), len(vertices), worst / scale * 1000.0))


if __name__ == "__main__":
    main()
