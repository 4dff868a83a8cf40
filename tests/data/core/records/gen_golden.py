#!/usr/bin/env python3
"""Writes the golden files of the calculation records from their byte layouts.

Each file is built field by field with struct.pack, following the archive layout of
the record (little-endian; int 4 bytes, short 2, float 4, double 8; strings with the
MFC length prefix and CP932 bytes) and leaving out the fields that a file of the given
version does not hold. The defaults files are written out as text, line by line.
The values are the ones the tests expect; change both together.

Run from this folder: python3 gen_golden.py
"""
import struct

UNSET_D = 99999999.999
UNSET_F = 99999000.0


def i32(v): return struct.pack('<i', v)
def i16(v): return struct.pack('<h', v)
def f32(v): return struct.pack('<f', v)
def f64(v): return struct.pack('<d', v)


def cstring(text):
    raw = text.encode('cp932')
    n = len(raw)
    if n < 0xFF:
        prefix = struct.pack('<B', n)
    elif n < 0xFFFE:
        prefix = struct.pack('<BH', 0xFF, n)
    else:
        prefix = struct.pack('<BHI', 0xFF, 0xFFFF, n)
    return prefix + raw


def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)


# ---- CTyd_Inf: the declaration order; m_bFreeRotation only from version 10 -------------
def tyd_inf(version):
    b = i32(1)            # m_nDirMode
    b += i32(5)           # m_nDir16
    b += f64(123.5)       # m_dDirAngle
    b += f64(1.25)        # m_dTide
    b += f64(3.5)         # m_dH0
    b += f64(9.0)         # m_dT0
    b += i32(36)          # m_nDirDiv
    b += f64(25.0)        # m_dSmax
    b += f64(80.0)        # m_dSpreadRight
    b += f64(70.0)        # m_dSpreadLeft
    b += i32(5)           # m_nFreqDiv
    b += i32(1)           # m_bBreaking
    b += i32(1)           # m_nOutDirSense
    if version >= 10:
        b += i32(1)       # m_bFreeRotation
    b += i32(3)           # m_nCalcState
    return b


# ---- CZmn_Inf: 38 rows, some only from a given version ---------------------------------
def zmn_inf(v):
    b = cstring('備考テスト ｶﾅ')   # m_strRemark
    b += i32(4)            # m_nPaperSize
    b += i32(1)            # m_nPaperOrient
    b += i32(15)           # m_nMarginTop
    b += i32(12)           # m_nMarginBottom
    b += i32(11)           # m_nMarginRight
    b += i32(13)           # m_nMarginLeft
    b += i32(180)          # m_nFrameHeight
    b += i32(270)          # m_nFrameWidth
    b += f64(-30500.25)    # m_dCenterX
    b += f64(12000.75)     # m_dCenterY
    b += i32(25000)        # m_nScale
    b += f64(-15.0)        # m_dRotation
    b += i32(0)            # m_bDrawFileName
    if v > 11:
        b += i32(1)        # m_nScaleStyle
    b += i32(0)            # m_bDrawContour
    if v > 10:
        b += i32(0)        # m_bDrawContourValue
    if v > 7:
        b += i32(1)        # m_bDrawLandGrid
    b += i32(1)            # m_bFillLand
    b += i32(5)            # m_nLandColor
    b += i32(3)            # m_nValueType
    b += i32(3)            # m_nFigureMask
    b += i32(1)            # m_bColorContour
    b += i32(1)            # m_nContourColor
    b += i32(1)            # m_bVectorFigure
    if v > 8:
        b += i32(1)        # m_bDirMapFigure
    b += i32(1)            # m_bCheckContour
    if v > 7:
        b += i32(1)        # m_bCheckMap
    b += f64(3.0)          # m_dContTextSize
    b += f64(2.0)          # m_dMapTextSize
    if v > 8:
        b += f64(1.75)     # m_dDirTextSize
    if v > 10:
        b += f64(1.5)      # m_dVectorMin
        b += f64(12.0)     # m_dVectorMax
        b += i32(3)        # m_nDecimals
    b += f64(1000.5) + f64(-2000.25)      # m_ptNorthMark
    b += f64(UNSET_D) + f64(UNSET_D)      # m_ptWaveMark (not set)
    sets = [(10.0, 20.0, 2.0, 3.0), (11.0, 21.0, 4.0, 5.0),
            (12.0, 22.0, 6.0, 7.0), (13.0, 23.0, 8.0, 9.0)]
    present = [v > 7, True, v > 8, True]
    for (x, y, down, across), ok in zip(sets, present):
        if ok:
            b += f32(x) + f32(y) + f64(down) + f64(across)
    for low, high in [(0.1, 1.1), (0.2, 1.2), (0.3, 1.3), (0.4, 1.4)]:
        b += f64(low) + f64(high)      # m_dVectorLow[k], m_dVectorHigh[k] interleaved
    return b


# ---- CCalArea ------------------------------------------------------------------------
def cal_area():
    return f64(-12345.678) + f64(6789.125) + f64(25.0) + i32(40) + i32(30)


# ---- CDigitalMap: 3 columns x 2 rows, 5 sea nodes ------------------------------------
NODES = [  # depth, height ratio, equivalent ratio, direction
    (12.5, 0.75, 0.5, 350.0),
    (10.0, 0.5, -1.0, 10.0),
    (8.25, 1.25, 0.25, 170.0),
    (6.0, 0.125, 0.375, 190.0),
    (4.5, 2.0, 1.5, 0.0),
]
DEPTH_FLAGS = [1, 1, 0, 2, 1]
HEIGHT_FLAGS = [1, 0, 1, 1, 2]
DIR_FLAGS = [0, 1, 1, 1, 1]
VECTOR_FLAGS = [2, 1, 1, 0, 1]
NODE_INDEX = [[0, 1, -1], [2, 3, 4]]   # row 0 first


def digital_map(v):
    b = i32(5) + i32(3) + i32(2) + f64(10.0)
    for d, h, e, a in NODES:
        b += f32(d) + f32(h) + f32(e) + f32(a)
    if v > 7:
        b += b''.join(i16(x) for x in DEPTH_FLAGS)
    b += b''.join(i16(x) for x in HEIGHT_FLAGS)
    if v > 8:
        b += b''.join(i16(x) for x in DIR_FLAGS)
    b += b''.join(i16(x) for x in VECTOR_FLAGS)
    for row in NODE_INDEX:
        b += b''.join(i32(x) for x in row)
    b += f64(1.5) + f64(3.25)
    return b


# ---- contour records -----------------------------------------------------------------
def cont_para(v):
    b = b''
    if v > 5:
        b += i32(1)                        # m_nDefined
    b += f64(0.5) + f64(20.0) + f64(2.5)   # from, to, interval
    b += i32(2) + f64(1.25) + f64(3.75)    # extra levels
    b += f64(-1.0) + f64(25.0)             # colour range
    return b


def cont_hgt_pos():
    b = i32(2)
    b += f64(1.5) + i32(0) + i32(3)
    b += f64(2.5) + i32(1) + i32(0)
    return b


def cont_group():
    b = i32(2) + i32(300) + i32(100)       # in use, capacity, growth step
    b += i32(3) + f64(1.0)
    for x, y in [(0.0, 0.0), (10.0, 0.0), (10.0, 10.0)]:
        b += f32(x) + f32(y)
    b += i32(2) + f64(2.0)
    for x, y in [(5.0, 5.0), (6.0, 7.0)]:
        b += f32(x) + f32(y)
    return b


# ---- depth-check and triangulation records -------------------------------------------
def hcheck_point():
    b = i32(3)
    for x, y, level in [(1.0, 2.0, 5.0), (3.5, 4.5, 5.0), (7.25, 8.0, 10.0)]:
        b += f32(x) + f32(y) + f32(level)
    return b


def hcheck_line():
    b = i32(4)
    for s, e in [(0, 1), (1, 2), (0, 2), (2, 2)]:
        b += i32(s) + i32(e)
    return b


def tri_line():
    b = i32(3)
    for n1, n2 in [(0, 1), (1, 4), (3, 2)]:
        b += i32(n1) + i32(n2)
    return b


# ---- "PARAINI.DAT" -------------------------------------------------------------------
def text_file(name, lines):
    with open(name, 'wb') as f:
        f.write(''.join(line + '\r\n' for line in lines).encode('ascii'))


PARAINI_V12 = [
    '12',
    '1,5,123.500000',
    '3.500000,9.000000',
    '1.250000,36',
    '25.000000,5',
    '80.000000,70.000000',
    '-12345.678000,6789.125000',
    '30,40',
    '25.000000',
    '1,1',
    '1,-15.000000',
    '4,1',
    '15,12,11,-1',
    '180,270',
    '0,1',
    '0,1,5',
    '3.000000,2.000000,1.750000',
    '1',
    '0,1.500000,12.000000,3',
]

# Version 9: no spreads (6), no free rotation (11), no line 19; line 15 still carries a
# second value that a version-9 reader must not take.
PARAINI_V9 = [
    '9',
    '2,7,45.000000',
    '2.000000,8.000000',
    '0.500000,30',
    '15.000000,9',
    '100.000000,200.000000',
    '20,10',
    '5.000000',
    '0,1',
    '2,0',
    '20,20,20,20',
    '227,360',
    '0,1',
    '1,1,4',
    '3.500000,3.000000,2.000000',
    '1',
]

# Version 7: also no land-grid line (18), and the third text size is not taken.
PARAINI_V7 = [
    '7',
    '0,3,0.000000',
    '1.000000,6.000000',
    '0.000000,18',
    '5.000000,3',
    '0.000000,0.000000',
    '5,4',
    '50.000000',
    '1,0',
    '0,1',
    '10,10,10,10',
    '277,190',
    '1',
    '1,0,2',
    '2.000000,2.250000,9.000000',
]


if __name__ == '__main__':
    write('tyd_inf_v12.bin', tyd_inf(12))
    write('tyd_inf_v9.bin', tyd_inf(9))
    for v in (7, 8, 10, 11, 12):
        write('zmn_inf_v%d.bin' % v, zmn_inf(v))
    write('cal_area.bin', cal_area())
    for v in (7, 8, 12):
        write('digital_map_v%d.bin' % v, digital_map(v))
    write('cont_para_v5.bin', cont_para(5))
    write('cont_para_v6.bin', cont_para(6))
    write('cont_hgt_pos.bin', cont_hgt_pos())
    write('cont_group.bin', cont_group())
    write('hcheck_point.bin', hcheck_point())
    write('hcheck_line.bin', hcheck_line())
    write('tri_line.bin', tri_line())
    text_file('paraini_v12.dat', PARAINI_V12)
    text_file('paraini_v9.dat', PARAINI_V9)
    text_file('paraini_v7.dat', PARAINI_V7)
