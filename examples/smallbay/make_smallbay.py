#!/usr/bin/env python3
"""Writes SMALLBAY.DAT: a Q-SONA bathymetry file of a small bay (about 6 km across, at
35.0 N 139.85 E, plane zone IX, GRS80), CR LF line ends, code page 932.

What it holds, so the viewer and its outputs meet every kind of record:
- a header line that is not a record;
- the coastline ('L'), split into three lines where two rivers reach the sea;
- a low-tide line ('M', depth -0.5 m);
- depth lines ('N') of 2, 4.95, 9.95, 15, 20 and 30 m, and one line of 13.67 fathoms
  (25.0 m); 4.95 and 9.95 sit on the .x5 boundaries of the 0.1 m rounding;
- latitude and longitude written with all their columns (fields that touch), and the
  30 m depth filling its seven columns so that it touches the latitude;
- point and line numbers as the system writes them: lines 1, 2, ... and points running
  on from line to line, both starting again at each change of record type.

Record columns (from 0): 0 type, 5-9 point number, 10-16 depth, 17-25 latitude,
26-35 longitude, 47 depth unit, 50-57 line number, 59 datum; the other columns carry
text that every reader passes through.

Run from this folder:  python3 make_smallbay.py
"""

import math

LAT0, LON0 = 35.0, 139.85
KM_PER_DEG_LAT = 111.0
KM_PER_DEG_LON = 111.0 * math.cos(math.radians(35.0))
NOTE = "ｼｮｳﾜﾝ".encode("cp932")  # half-width katakana in the free columns


def coast_y(x):
    """North shore of the bay, km north of the origin, for x km east."""
    return 3.0 - 3.0 * (x / 2.5) ** 2


def record(kind, point, depth_text, lat, lon, unit, line):
    cols = bytearray(b" " * 60)

    def put(col, data):
        assert len(data) + col <= 60
        cols[col:col + len(data)] = data

    put(0, kind.encode())
    put(1, b"SB1")
    put(5, b"%05d" % point)
    assert len(depth_text) == 7
    put(10, depth_text.encode())
    put(17, b"%9.6f" % lat)
    put(26, b"%10.6f" % lon)
    put(37, NOTE)
    put(47, unit.encode())
    put(50, b"%8d" % line)
    put(59, b"1")
    return bytes(cols)


def xs(start, stop, step):
    n = int(round((stop - start) / step))
    return [start + i * (stop - start) / n for i in range(n + 1)]


def to_geo(x, y):
    return LAT0 + y / KM_PER_DEG_LAT, LON0 + x / KM_PER_DEG_LON


def main():
    out = [b"*SMALLBAY  Q-SONA  SAMPLE BAY  (make_smallbay.py)"]

    # (type, [(depth text, unit, [(x, y), ...]) per line])
    coast = []
    for a, b in ((-3.0, -1.05), (-0.95, 1.15), (1.25, 3.0)):
        coast.append(("    0.0", "M", [(x, coast_y(x)) for x in xs(a, b, 0.05)]))
    low_tide = [("   -0.5", "M", [(x, coast_y(x) - 0.06) for x in xs(-2.9, 2.9, 0.1)])]
    depth_lines = []
    for depth_text, unit, offset in (("    2.0", "M", 0.15), ("   4.95", "M", 0.40),
                                     ("   9.95", "M", 0.80), ("   15.0", "M", 1.20),
                                     ("   20.0", "M", 1.60), ("  13.67", "F", 2.00),
                                     ("30.0000", "M", 2.40)):
        depth_lines.append((depth_text, unit,
                            [(x, coast_y(x) - offset) for x in xs(-3.0, 3.0, 0.1)]))

    for kind, lines in (("L", coast), ("M", low_tide), ("N", depth_lines)):
        point = 0
        for line_no, (depth_text, unit, pts) in enumerate(lines, start=1):
            for x, y in pts:
                point += 1
                lat, lon = to_geo(x, y)
                out.append(record(kind, point, depth_text, lat, lon, unit, line_no))

    with open("SMALLBAY.DAT", "wb") as f:
        f.write(b"".join(line + b"\r\n" for line in out))


if __name__ == "__main__":
    main()
