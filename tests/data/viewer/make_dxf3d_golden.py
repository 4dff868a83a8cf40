#!/usr/bin/env python3
"""Writes the golden files of the viewer's 3D DXF output:

  dxf3d_input.qsona   a small Q-SONA file (CR LF) whose records meet the edge cases
  dxf3d_area.txt      the output area: latMin lonMin latMax lonMax (decimal degrees)
  dxf3d_m.dxf         the expected file in metres, zone IX, GRS80, low-tide lines hidden
  dxf3d_mm.dxf        the same in millimetres

The DXF text is laid out item by item from the header-and-tables table of the 3D DXF
output (each item one formatted write, "\\n" written as CR LF), and the polylines are the
ones listed by hand below, not found by an algorithm. Vertex coordinates come from the
Meshgate library (x northing, y easting), loaded with ctypes:

  python3 make_dxf3d_golden.py ../../../build/lib/libmeshgate.so
"""

import ctypes
import sys

ZONE = 9
ELLIPSOID = 1
AREA = (35.000, 139.800, 35.010, 139.815)  # latMin lonMin latMax lonMax

IN_LAT = [35.001, 35.003, 35.005, 35.007, 35.009]
IN_LON = [139.801, 139.804, 139.807, 139.810, 139.813]
OUT_LAT = 35.020

# (name, type, point text, depth text, unit, lat, lon, line, expected depth in metres
# after rounding to 0.1, or None when the record is not a depth point in the area)
RECORDS = [
    # A coastline that leaves the area and comes back: two polylines on T0_0.
    ("c1", "L", "00001", "    0.0", "M", IN_LAT[0], IN_LON[0], 1, None),
    ("c2", "L", "00002", "    0.0", "M", IN_LAT[1], IN_LON[1], 1, None),
    ("c3", "L", "00003", "    0.0", "M", OUT_LAT, IN_LON[2], 1, None),
    ("c4", "L", "00004", "    0.0", "M", IN_LAT[3], IN_LON[3], 1, None),
    ("c5", "L", "00005", "    0.0", "M", IN_LAT[4], IN_LON[4], 1, None),
    # A coastline with one point in the area: a run of one point writes nothing.
    ("s1", "L", "00006", "    0.0", "M", OUT_LAT, IN_LON[0], 2, None),
    ("s2", "L", "00007", "    0.0", "M", IN_LAT[2], IN_LON[1], 2, None),
    ("s3", "L", "00008", "    0.0", "M", OUT_LAT, IN_LON[2], 2, None),
    # 9.95 m rounds to 10.0 (layer H10_0).
    ("a1", "N", "00001", "   9.95", "M", IN_LAT[0], IN_LON[1], 1, 10.0),
    ("a2", "N", "00002", "   9.95", "M", IN_LAT[1], IN_LON[2], 1, 10.0),
    ("a3", "N", "00003", "   9.95", "M", IN_LAT[2], IN_LON[3], 1, 10.0),
    # 0.05 m rounds to 0.1 (layer H0_1); a record of another type inside the run
    # neither draws nor splits it.
    ("b1", "N", "00004", "   0.05", "M", IN_LAT[1], IN_LON[0], 2, 0.1),
    ("bx", "X", "00000", "       ", " ", 0.0, 0.0, 0, None),
    ("b2", "N", "00005", "   0.05", "M", IN_LAT[2], IN_LON[1], 2, 0.1),
    # 5.04 and 4.96 both round to 5.0 and share H5_0; the run's layer comes from its
    # first point, so the 5.2 point stays on H5_0 (and H5_2 is still a table entry).
    ("d1", "N", "00006", "   5.04", "M", IN_LAT[0], IN_LON[2], 3, 5.0),
    ("d2", "N", "00007", "   4.96", "M", IN_LAT[1], IN_LON[3], 3, 5.0),
    ("d3", "N", "00008", "    5.2", "M", IN_LAT[2], IN_LON[4], 3, 5.2),
    ("e1", "N", "00009", "   4.96", "M", IN_LAT[3], IN_LON[0], 4, 5.0),
    ("e2", "N", "00010", "   4.96", "M", IN_LAT[4], IN_LON[1], 4, 5.0),
    # A continuation record (point 00000, next line number, the same point again): one
    # polyline of three vertices.
    ("f1", "N", "00011", "   20.0", "M", IN_LAT[3], IN_LON[2], 5, 20.0),
    ("f2", "N", "00012", "   20.0", "M", IN_LAT[4], IN_LON[3], 5, 20.0),
    ("f2c", "N", "00000", "   20.0", "M", IN_LAT[4], IN_LON[3], 6, 20.0),
    ("f3", "N", "00001", "   20.0", "M", IN_LAT[3], IN_LON[4], 6, 20.0),
    # -0.04 m rounds to zero: layer H0_0, z 0.000000.
    ("g1", "N", "00002", "  -0.04", "M", IN_LAT[0], IN_LON[3], 7, 0.0),
    ("g2", "N", "00003", "  -0.04", "M", IN_LAT[1], IN_LON[4], 7, 0.0),
    # 5 fathoms = 9.144 m -> 9.1 (layer H9_1).
    ("h1", "N", "00004", "    5.0", "F", IN_LAT[2], IN_LON[0], 8, 9.1),
    ("h2", "N", "00005", "    5.0", "F", IN_LAT[3], IN_LON[1], 8, 9.1),
    # A depth line outside the area: no layer, no polyline.
    ("o1", "N", "00006", "   99.0", "M", OUT_LAT, IN_LON[0], 9, None),
    ("o2", "N", "00007", "   99.0", "M", OUT_LAT, IN_LON[1], 9, None),
    # Low-tide line, hidden while the switch is off: no layer, no polyline.
    ("m1", "M", "00001", "   -1.5", "M", IN_LAT[0], IN_LON[4], 1, None),
    ("m2", "M", "00002", "   -1.5", "M", IN_LAT[1], IN_LON[3], 1, None),
]

# (layer, record names) of every polyline, in file order.
POLYLINES = [
    ("T0_0", ["c1", "c2"]),
    ("T0_0", ["c4", "c5"]),
    ("H10_0", ["a1", "a2", "a3"]),
    ("H0_1", ["b1", "b2"]),
    ("H5_0", ["d1", "d2", "d3"]),
    ("H5_0", ["e1", "e2"]),
    ("H20_0", ["f1", "f2", "f3"]),
    ("H0_0", ["g1", "g2"]),
    ("H9_1", ["h1", "h2"]),
]
DEPTH_LAYERS = ["H0_0", "H0_1", "H5_0", "H5_2", "H9_1", "H10_0", "H20_0"]


def record_text(r):
    _, kind, point, depth, unit, lat, lon, line, _ = r
    cols = bytearray(b" " * 60)
    cols[0:1] = kind.encode()
    cols[5:10] = point.encode()
    cols[10:17] = depth.encode()
    if kind != "X":
        cols[17:26] = b"%9.5f" % lat
        cols[26:36] = b"%10.5f" % lon
        cols[47:48] = unit.encode()
        cols[50:58] = b"%8d" % line
        cols[59:60] = b"%d" % ELLIPSOID
    return bytes(cols) + "  ﾃｽﾄ".encode("cp932")


def main():
    lib = ctypes.CDLL(sys.argv[1])
    lib.Meshgate.argtypes = [ctypes.c_int, ctypes.c_int, ctypes.c_double, ctypes.c_double,
                             ctypes.POINTER(ctypes.c_double), ctypes.POINTER(ctypes.c_double)]

    def meshgate(lat, lon):
        x, y = ctypes.c_double(), ctypes.c_double()
        assert lib.Meshgate(ELLIPSOID, ZONE, lat, lon, ctypes.byref(x), ctypes.byref(y)) == 1
        return x.value, y.value

    with open("dxf3d_input.qsona", "wb") as f:
        f.write(b"HEADER LINE OF THE TEST FILE\r\n")
        for r in RECORDS:
            f.write(record_text(r) + b"\r\n")
    with open("dxf3d_area.txt", "w") as f:
        f.write("%.6f %.6f %.6f %.6f\n" % AREA)

    by_name = {r[0]: r for r in RECORDS}
    points = [r for r in RECORDS if r[1] in "LNM"]
    data = (min(r[5] for r in points), min(r[6] for r in points),
            max(r[5] for r in points), max(r[6] for r in points))
    lat_lo, lon_lo = max(AREA[0], data[0]), max(AREA[1], data[1])
    lat_hi, lon_hi = min(AREA[2], data[2]), min(AREA[3], data[3])
    corners = [meshgate(la, lo) for la in (lat_lo, lat_hi) for lo in (lon_lo, lon_hi)]
    depths = [r[8] for r in RECORDS if r[8] is not None]

    for unit, name in ((1.0, "dxf3d_m.dxf"), (1000.0, "dxf3d_mm.dxf")):
        xmin = min(c[0] for c in corners) * unit
        xmax = max(c[0] for c in corners) * unit
        ymin = min(c[1] for c in corners) * unit
        ymax = max(c[1] for c in corners) * unit
        zmin = min([0.0] + depths) * unit
        zmax = max([0.0] + depths) * unit
        spans = sorted([ymax - ymin, xmax - xmin])
        items = [
            "  0\nSECTION\n  2\nHEADER\n",
            "  9\n$ACADVER\n  1\nAC1009\n",
            "  9\n$EXTMIN\n 10\n%f\n 20\n%f\n 30\n%f\n" % (ymin, xmin, zmin),
            "  9\n$EXTMAX\n 10\n%f\n 20\n%f\n 30\n%f\n" % (ymax, xmax, zmax),
            "  0\nENDSEC\n",
            "  0\nSECTION\n  2\nTABLES\n",
            "  0\nTABLE\n  2\nVPORT\n 70\n     1\n",
            "  0\nVPORT\n  2\n*ACTIVE\n 70\n     0\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n",
            " 12\n%f\n 22\n%f\n 13\n0.0\n 23\n0.0\n 14\n1.0\n 24\n1.0\n"
            % ((ymax + ymin) / 2, (xmax + xmin) / 2),
            " 15\n0.0\n 25\n0.0\n 16\n0.0\n 26\n0.0\n 36\n1.0\n",
            " 17\n0.0\n 27\n0.0\n 37\n0.0\n 40\n%f\n 41\n%f\n" % (xmax - xmin, spans[1] / spans[0]),
            " 42\n50.0\n 43\n0.0\n 44\n0.0\n 50\n0.0\n 51\n0.0\n",
            " 71\n     0\n 72\n   100\n 73\n     1\n 74\n     1\n 75\n     0\n",
            " 76\n     0\n 77\n     0\n 78\n     0\n  0\nENDTAB\n",
            "  0\nTABLE\n  2\nLTYPE\n 70\n     1\n",
            "  0\nLTYPE\n  2\nCONTINUOUS\n 70\n     0\n",
            "  3\n実線\n 72\n    65\n 73\n     0\n 40\n0.0\n  0\nENDTAB\n",
            "  0\nTABLE\n  2\nLAYER\n 70\n%6d\n" % (1 + len(DEPTH_LAYERS)),
            "  0\nLAYER\n  2\nT0_0\n 70\n     0\n 62\n     7\n  6\nCONTINUOUS\n",
        ]
        for layer in DEPTH_LAYERS:
            items.append("  0\nLAYER\n  2\n%s\n 70\n     0\n 62\n     4\n  6\nCONTINUOUS\n" % layer)
        items += [
            "  0\nENDTAB\n  0\nTABLE\n  2\nSTYLE\n 70\n     1\n",
            "  0\nSTYLE\n  2\nStandard\n 70\n     0\n 40\n0.0\n",
            " 41\n1.0\n 50\n0.0\n 71\n     0\n 42\n0.0\n  3\nmonotxt\n",
            "  4\nbigfont\n  0\nENDTAB\n",
            "  0\nTABLE\n  2\nVIEW\n 70\n     0\n  0\nENDTAB\n  0\nENDSEC\n",
            "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n",
            "  0\nSECTION\n  2\nENTITIES\n",
        ]
        for layer, names in POLYLINES:
            items.append("  0\nPOLYLINE\n  8\n%s\n" % layer)
            items.append(" 66\n     1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n")
            items.append(" 70\n     8\n")
            for n in names:
                r = by_name[n]
                x, y = meshgate(r[5], r[6])
                z = r[8] if r[8] is not None else 0.0
                items.append("  0\nVERTEX\n  8\n%s\n" % layer)
                items.append(" 10\n%f\n 20\n%f\n 30\n%f\n" % (y * unit, x * unit, z * unit))
                items.append(" 70\n    32\n")
            items.append("  0\nSEQEND\n  8\n%s\n" % layer)
        items.append("  0\nENDSEC\n  0\nEOF\n")
        text = "".join(items).replace("\n", "\r\n")
        with open(name, "wb") as f:
            f.write(text.encode("cp932"))


if __name__ == "__main__":
    main()
