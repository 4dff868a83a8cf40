#!/usr/bin/env python3
"""Writes renumbered.qsona: point records laid out column by column from the Q-SONA
record layout, numbered as the viewer's area output numbers them, CR LF line ends.

Columns (from 0): 0 type, 5-9 point number %05d, 10-16 depth, 17-25 latitude,
26-35 longitude, 47 depth unit, 50-57 line number %8d, 59 datum. The other columns
carry code page 932 text that readers and writers must pass through untouched
(half-width katakana, and full-width characters whose second byte is 0x5C).

Run from this folder:  python3 make_qsona_sample.py
"""

KANA = "ｶｲｽﾞ".encode("cp932")        # 4 single bytes 0xB6 0xB2 0xBD 0xDE
TABLE = "表示".encode("cp932")          # 0x95 0x5C 0x8E 0xA6: a trail byte that is '\'
TAIL = " 海岸線ﾃﾞｰﾀ".encode("cp932")


def record(kind, point, depth, lat, lon, unit, line, datum):
    cols = bytearray(b" " * 60)

    def put(col, data):
        cols[col:col + len(data)] = data

    put(0, kind.encode())
    put(1, b"JH7")                           # columns 1-4: carried along
    put(5, b"%05d" % point)
    put(10, b"%7.1f" % depth)
    put(17, b"%9.5f" % lat)
    put(26, b"%10.5f" % lon)
    put(36, KANA + b" " + TABLE + b" ")      # columns 36-46: 11 bytes of CP932 text
    put(47, unit.encode())
    put(48, b"  ")
    put(50, b"%8d" % line)
    put(58, b"-")
    put(59, datum.encode())
    assert len(cols) == 60
    return bytes(cols) + TAIL


# (type, line, depth, unit) per point; point and line numbers follow the writer's rules:
# lines 1, 2, ... and points running on from line to line, both restarting at a change
# of record type.
POINTS = [
    ("L", 1, 0.0, "M"), ("L", 1, 0.0, "M"), ("L", 1, 0.0, "M"),
    ("L", 2, 0.0, "M"), ("L", 2, 0.0, "M"),
    ("N", 1, 12.5, "F"), ("N", 1, 12.5, "F"),
    ("N", 2, 20.0, "M"), ("N", 2, 20.0, "M"), ("N", 2, 20.0, "M"),
    ("M", 1, -1.5, "M"), ("M", 1, -1.5, "M"),
]


def main():
    out = bytearray()
    point = 0
    previous = None
    for i, (kind, line, depth, unit) in enumerate(POINTS):
        point = 1 if previous is None or previous != kind else point + 1
        previous = kind
        lat = 38.25 + 0.01 * i
        lon = 141.0 + 0.0125 * i
        out += record(kind, point, depth, lat, lon, unit, line, "1") + b"\r\n"
    with open("renumbered.qsona", "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
