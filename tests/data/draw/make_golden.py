#!/usr/bin/env python3
"""Writes the plot-file golden files of the draw tests.

Every line below was worked out by hand from the plot-file record table: each real is
the value in millimetres times 100000, printed as a whole number; texts are CP932; lines
end in CR LF. Run it from this folder; the files it writes are committed beside it.
"""


def write(name, lines, ending=b"\r\n"):
    with open(name, "wb") as f:
        for line in lines:
            f.write(line.encode("cp932") if isinstance(line, str) else line)
            f.write(ending)


# What the writer test writes, record by record (see plot_file_test.cpp).
write("writer_records.plt", [
    "有義波高",                                   # title line as given
    "SC1,0,0,0",                                  # SC 1, 0, 0, 0
    "EM0,0,40000000,27700000",                    # EM 0, 0, 400, 277
    "SZ42000000,29700000",                        # SZ 420, 297
    "LT250000,100000,3,0,DASHDOT",                # LT 2.5, 1.0, 3, 0
    "LY0,25,7,1,1",                               # LY 0, 25, 7, 1, "1"
    "LY0,13,255,10,10",                           # LY 0, 13, 255, 10, "10"
    "DL1250000,-30000,1,-0,4",                    # 12.5, -0.3, 0.000005 (half: away from 0), -0.000004
    "LL123457,200000,0,0,9",                      # 1.234567 -> 123456.7 -> 123457; 2.0
    "LL-123457,0,2,1,9",                          # -1.234567, 0.0, pen 2, closed
    "AP1000000,2000000,300000,21,12",             # AP 10, 20, 3, code 21, layer 12
    "EL100000,200000,300000,400000,3000000,0,9000000,1",   # EL 1, 2, 3, 4, 30, 0, 90
    "GC500000,0,0,0,500000,0,1,2",                # full circle of radius 5 about the origin
    "AH0,0,1000000,0,200000,100000,10,11",        # arrow 0,0 -> 10,0, head 2 x 1, style 10
    "VJ500000,600000,250000,250000,4500000,5,水深,m  A",   # CR LF inside the text become blanks
    "VJ0,0,300000,300000,0,1,ソ表\\d0",          # trail bytes 0x5C kept, backslash escape kept
])

# A file as another producer might write it: interleaved kinds, short lines, lower-case
# keys, LF and CR LF mixed, a VJ text with commas and a 0x5C trail byte.
reader = [
    (b"\x83\x5c\x83\x5c title, not read", b"\r\n"),
    (b"SC1,0,0,0", b"\r\n"),
    (b"LT200000,100000,1,0,DASH", b"\r\n"),            # line type 1: dash 2, gap 1, type 1
    (b"LY1,50,1,1,RED,LAYER", b"\n"),                   # layer 1; name cut at its comma
    (b"DL0,0,1000000,500000,1", b"\r\n"),               # DL (0,0)-(10,5) layer 1
    (b"dl0,0,1,1,1", b"\r\n"),                          # lower case: skipped
    (b"LL100000,200000,0,0,1", b"\n"),                  # LL (1,2) pen 0
    (b"DL300000,400000,500000", b"\r\n"),               # short: fields 3 and 4 from the LL line (0 and 1)
    (b"VJ100000,200000,300000,250000,9000000,1,A,b,\x95\x5c,c", b"\r\n"),
    (b"LL", b"\r\n"),                                   # field 0 empty (reads 0); fields 1-4 from the VJ line
    (b"VJ700000,800000,Hello", b"\r\n"),                # short VJ: fields 2-5 kept
    (b"", b"\r\n"),
    (b"AP100000,100000,300000,21,99", b"\r\n"),         # layer 99 does not exist
    (b"EL0,0,100000,100000,0,0,36000000,1", b"\r\n"),
    (b"GC100000,0,0,0,100000,0,1,1", b"\r\n"),
    (b"AH0,0,1000000,0,200000,100000,10,1", b""),      # last line without a line end
]
with open("reader_mixed.plt", "wb") as f:
    for body, end in reader:
        f.write(body + end)

# Only the title and the header records: nothing to draw.
write("header_only.plt", [
    "地形図",
    "SC1,0,0,0",
    "EM0,0,40000000,27700000",
    "SZ42000000,29700000",
])

# A small figure on an A4 landscape sheet (297 x 210 mm, margins 10 mm): frame 277 x 180 mm
# with its 10 mm title band, a title, a dashed contour, a circle mark, an arrow and the
# north-mark circle; coordinates from the frame's lower-left corner.
write("golden_figure.plt", [
    "有義波高",
    "SC1,0,0,0",
    "EM0,0,27700000,19000000",                       # 0, 0, W, H + 10
    "SZ29700000,21000000",                           # W + 20, H + 20 + 10
    "LT300000,100000,1,0,DASH",                      # line type 1: dash 3, gap 1
    "LY0,25,7,1,1",                                  # layer 1: frame, black 0.25 mm
    "LY0,13,7,2,2",
    "LY0,13,7,3,3",
    "LY0,25,7,4,4",
    "LY0,0,7,5,5",
    "LY0,0,7,6,6",
    "LY0,13,7,7,7",
    "LY0,13,7,8,8",
    "LY1,13,5,9,9",                                  # layer 9: contours, blue, dashed
    "LY0,13,255,10,10",
    "LY0,13,7,11,11",
    "LY0,13,7,12,12",
    "LY0,13,7,13,13",
    "LY0,13,7,14,14",
    "DL0,0,27700000,0,1",                            # frame bottom
    "DL27700000,0,27700000,19000000,1",              # right side up to the band's top
    "DL27700000,19000000,0,19000000,1",              # band top
    "DL0,19000000,0,0,1",                            # left side
    "DL0,18000000,27700000,18000000,1",              # frame top = band bottom (180 mm)
    "VJ500000,18250000,500000,500000,0,1,有義波高",    # title in the band, 5 mm
    "LL2000000,2000000,0,0,9",                       # a contour (20,20)-(120,60)-(220,20)
    "LL12000000,6000000,1,0,9",
    "LL22000000,2000000,2,0,9",
    "VJ11500000,6500000,250000,250000,0,9,1.50",     # its label
    "AP13850000,9000000,300000,21,12",               # an output point at the centre
    "AH5000000,14000000,5000000,16000000,200000,100000,10,11",   # an arrow up
    "GC25000000,16000000,25000000,15000000,25000000,16000000,1,2",   # north circle r 10
])
