#!/usr/bin/env python3
"""Builds the golden calculation files (.TYD main archive, .DPT side archive) field by
field from their archive layouts. The files are the reference the readers and writers of
the calculation document are tested against; they are never dumped from our own code.

Encoding: little-endian, no padding; int 4 bytes, WORD 2, float 4, double 8; a string
is a length prefix (one byte below 255, else 0xFF and 16 bits, else 0xFF, 0xFFFF and 32
bits) followed by the code page 932 bytes.

Main archive (.TYD), in order:
  int version (12 when saved)
  wave conditions: int direction mode; int 16-point index; double direction angle;
      double tide; double H0; double T0; int direction bins; double Smax;
      double spread right; double spread left; int frequency components; int breaking;
      int output direction sense; int free rotation (v >= 10); int calculation state
  drawing conditions: string remark; int paper size; int orientation; int margins top,
      bottom, right, left; int frame height; int frame width; double centre x;
      double centre y; int scale; double rotation; fifteen ints (the 2nd only when
      v > 11, the 4th when v > 10, the 5th when v > 7, the 13th when v > 8, the 15th when
      v > 7); double contour text size; double map text size; double direction text size
      (v > 8); double vector min, double vector max (v > 10); int decimals (v > 10);
      north mark (double x, y); incident mark (double x, y); four interval sets
      {float x, float y, double step down, double step across} (set 0 when v > 7, set 2
      when v > 8); four pairs {double low, double high}
  contour parameters of the depth figure, then of the four result figures:
      int defined (v > 5); double from; double to; double interval; int n; n doubles;
      double colour from; double colour to
  calculation area: double x0; double y0; double mesh size; int nx; int ny
  block outlines: int n; n x {int m; m x (double x, double y)}
  int K; K x (double x, double y): the output-point label positions

Side archive (.DPT), in order:
  int version
  mesh: int node count n; int columns; int rows; double mesh size;
      n x {float depth, float height ratio, float equivalent ratio, float direction};
      n WORD depth-map flags (v > 7); n WORD height-map flags; n WORD direction-map
      flags (v > 8); n WORD vector flags; rows x columns int node index (row by row,
      -1 land); double base level; double offshore wave height
  triangulation edges: int count; count x (int node 1, int node 2)
  depth-check points: int count; count x (float x, float y, float level)
  depth-check segments: int count; count x (int start, int end)
  contour group: int count; int capacity; int growth; count x {int p; double level;
      p x (float x, float y)}
  int value type
  four label sets, then four erased-segment sets: int c; c x {double level,
      int ordinal, int point index}
  int triangle count T; 3T int triangle edges; 3T int triangle nodes;
  2 int per triangulation edge: the triangles on either side (-1 none)

Run it from anywhere; it rewrites the files beside itself.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
UNSET_D = 99999999.999
UNSET_F = 99999000.0


def i32(*v):
    return struct.pack('<%di' % len(v), *v)


def u16(*v):
    return struct.pack('<%dH' % len(v), *v)


def f32(*v):
    return struct.pack('<%df' % len(v), *v)


def f64(*v):
    return struct.pack('<%dd' % len(v), *v)


def cstr(b):
    n = len(b)
    if n < 0xFF:
        head = struct.pack('<B', n)
    elif n < 0xFFFE:
        head = struct.pack('<BH', 0xFF, n)
    else:
        head = struct.pack('<BHI', 0xFF, 0xFFFF, n)
    return head + b


# ---------------------------------------------------------------- the calculation

WAVE = dict(dir_mode=1, dir16=3, dir_angle=200.0, tide=1.25, h0=2.5, t0=8.0, dir_div=9,
            smax=10.0, spread_right=80.0, spread_left=70.0, freq_div=3, breaking=0,
            out_sense=1, free_rotation=1, state=3)

DRAW = dict(remark='湾の試算'.encode('cp932'), paper=2, orient=1, margins=(11, 12, 13, 14),
            frame=(250, 380), centre=(1234.5, -678.25), scale=25000, rotation=-30.0,
            ints=(1, 1, 0, 1, 1, 0, 3, 1, 3, 1, 0, 1, 1, 0, 1),
            text=(3.0, 2.0, 1.5), vector=(1.0, 12.0), decimals=3,
            north=(100.0, 200.0), wave=(UNSET_D, UNSET_D),
            intervals=[(5.0, 5.0, 20.0, 30.0), (0.0, 0.0, 10.0, 10.0),
                       (UNSET_F, UNSET_F, -1.0, -1.0), (10.0, 10.0, 20.0, 20.0)],
            ranges=[(0.1, 1.5), (0.2, 2.5), (0.3, 3.5), (0.4, 4.5)])

# (defined, from, to, interval, levels, colour from, colour to)
CONT_DEPTH = (1, 0.0, 20.0, 2.0, [0.5, 1.5], 0.0, 20.0)
CONT_FIG = [(1, 0.0, 3.0, 0.5, [], 0.0, 3.0),
            (0, 0.0, 0.0, 1.0, [], 0.0, 0.0),
            (0, 0.0, 0.0, 1.0, [], 0.0, 0.0),
            (0, 0.0, 0.0, 1.0, [], 0.0, 0.0)]

AREA = (1000.0, 2000.0, 10.0, 3, 2)
OUTLINES = [[(1010.0, 2005.0), (1015.0, 2005.0), (1015.0, 2010.0), (1010.0, 2005.0)]]
LABELS = [(1005.0, 2003.0)] + [(UNSET_D, UNSET_D)] * 9

# A mesh of 3 columns and 2 rows whose upper middle node is land:
#   row 1:  3  -1  4
#   row 0:  0   1  2
NODE_INDEX = [[0, 1, 2], [3, -1, 4]]
NODES = [(5.0, 0.9, 0.95, 350.0), (4.0, 0.8, 0.85, 10.0), (3.0, 0.7, 0.75, 5.5),
         (2.0, 0.6, 0.65, 355.0), (1.0, 0.5, 0.55, 0.0)]
FLAGS = dict(depth=[1, 0, 1, 0, 1], height=[1, 1, 0, 0, 2], dir=[0, 1, 0, 1, 0],
             vector=[1, 1, 1, 1, 1])
BASE_LEVEL = 1.25
MESH_H0 = 2.5
# The triangulation of that mesh, worked out by hand from the diagonal rule: edges in
# creation order, triangles (edge numbers, clockwise nodes) and the triangles beside
# each edge.
EDGES = [(0, 3), (0, 1), (1, 3), (1, 2), (1, 4), (2, 4)]
TRI_EDGES = [0, 2, 1, 4, 5, 3]
TRI_NODES = [0, 3, 1, 1, 4, 2]
EDGE_PAIRS = [(0, -1), (-1, 0), (-1, 0), (-1, 1), (1, -1), (-1, 1)]
HCHECK_POINTS = [(5.0, 0.0, 4.5), (0.0, 5.0, 3.5), (15.0, 5.0, 1.5)]
HCHECK_LINES = [(0, 1), (1, 2)]
CONT_GROUP = dict(count=2, capacity=300, grow=100,
                  lines=[(0.75, [(0.0, 0.0), (5.0, 2.5), (10.0, 5.0)]),
                         (0.75, [(15.0, 0.0), (20.0, 5.0)])])
VALUE_TYPE = 1
LABEL_SETS = [[], [(0.75, 0, 1)], [], []]
ERASED_SETS = [[], [(0.75, 1, 0)], [], []]


# ---------------------------------------------------------------- main archive

def wave_conditions(v, w=WAVE):
    b = i32(w['dir_mode'], w['dir16']) + f64(w['dir_angle'], w['tide'], w['h0'], w['t0'])
    b += i32(w['dir_div']) + f64(w['smax'], w['spread_right'], w['spread_left'])
    b += i32(w['freq_div'], w['breaking'], w['out_sense'])
    if v >= 10:
        b += i32(w['free_rotation'])
    b += i32(w['state'])
    return b


def drawing_conditions(v, d=DRAW):
    b = cstr(d['remark']) + i32(d['paper'], d['orient'], *d['margins'], *d['frame'])
    b += f64(*d['centre']) + i32(d['scale']) + f64(d['rotation'])
    # Load conditions of the fifteen ints, by position (1-based).
    need = {2: v > 11, 4: v > 10, 5: v > 7, 13: v > 8, 15: v > 7}
    for k, value in enumerate(d['ints'], start=1):
        if need.get(k, True):
            b += i32(value)
    b += f64(d['text'][0], d['text'][1])
    if v > 8:
        b += f64(d['text'][2])
    if v > 10:
        b += f64(*d['vector']) + i32(d['decimals'])
    b += f64(*d['north']) + f64(*d['wave'])
    for k, (x, y, down, across) in enumerate(d['intervals']):
        if (k == 0 and v <= 7) or (k == 2 and v <= 8):
            continue
        b += f32(x, y) + f64(down, across)
    for low, high in d['ranges']:
        b += f64(low, high)
    return b


def cont_para(v, p):
    defined, frm, to, interval, levels, cfrom, cto = p
    b = i32(defined) if v > 5 else b''
    b += f64(frm, to, interval) + i32(len(levels)) + f64(*levels) + f64(cfrom, cto)
    return b


def main_archive(v, labels=LABELS):
    b = i32(v) + wave_conditions(v) + drawing_conditions(v)
    b += cont_para(v, CONT_DEPTH)
    for p in CONT_FIG:
        b += cont_para(v, p)
    x0, y0, size, nx, ny = AREA
    b += f64(x0, y0, size) + i32(nx, ny)
    b += i32(len(OUTLINES))
    for outline in OUTLINES:
        b += i32(len(outline))
        for x, y in outline:
            b += f64(x, y)
    b += i32(len(labels))
    for x, y in labels:
        b += f64(x, y)
    return b


# ---------------------------------------------------------------- side archive

def mesh(v, node_index=NODE_INDEX):
    rows, cols = len(node_index), len(node_index[0])
    b = i32(len(NODES), cols, rows) + f64(AREA[2])
    for node in NODES:
        b += f32(*node)
    if v > 7:
        b += u16(*FLAGS['depth'])
    b += u16(*FLAGS['height'])
    if v > 8:
        b += u16(*FLAGS['dir'])
    b += u16(*FLAGS['vector'])
    for row in node_index:
        b += i32(*row)
    return b + f64(BASE_LEVEL, MESH_H0)


def pos_set(entries):
    b = i32(len(entries))
    for level, ordinal, point in entries:
        b += f64(level) + i32(ordinal, point)
    return b


def side_archive(v, node_index=NODE_INDEX, tri_count=None, tri_edges=TRI_EDGES,
                 tri_nodes=TRI_NODES, edge_pairs=EDGE_PAIRS, edges=EDGES, mesh_bytes=None,
                 group=CONT_GROUP, label_sets=LABEL_SETS, erased_sets=ERASED_SETS):
    b = i32(v) + (mesh(v, node_index) if mesh_bytes is None else mesh_bytes)
    b += i32(len(edges))
    for n1, n2 in edges:
        b += i32(n1, n2)
    b += i32(len(HCHECK_POINTS))
    for x, y, level in HCHECK_POINTS:
        b += f32(x, y, level)
    b += i32(len(HCHECK_LINES))
    for s, e in HCHECK_LINES:
        b += i32(s, e)
    g = group
    b += i32(g['count'], g['capacity'], g['grow'])
    for level, points in g['lines']:
        b += i32(len(points)) + f64(level)
        for x, y in points:
            b += f32(x, y)
    b += i32(VALUE_TYPE)
    for entries in label_sets:
        b += pos_set(entries)
    for entries in erased_sets:
        b += pos_set(entries)
    b += i32(len(tri_nodes) // 3 if tri_count is None else tri_count)
    b += i32(*tri_edges) + i32(*tri_nodes)
    for a, c in edge_pairs:
        b += i32(a, c)
    return b


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def main():
    write('small_v12.TYD', main_archive(12))
    write('small_v12.DPT', side_archive(12))
    # An older pair: fields that version 7 lacks are simply absent.
    write('small_v7.TYD', main_archive(7))
    write('small_v7.DPT', side_archive(7))
    # Contours of the ladder 2, 3, 4 with the extra level 2.99995, within the level
    # tolerance of 3 but traced after 4: two runs of one polyline each. The label is on
    # the first segment of the line of 3, the erased segment the second of the line of
    # 2.99995; each belongs to its own line only.
    near = dict(count=4, capacity=400, grow=400,
                lines=[(2.0, [(0.0, 0.0), (5.0, 2.5), (10.0, 5.0)]),
                       (3.0, [(0.0, 2.0), (5.0, 4.5), (10.0, 7.0)]),
                       (4.0, [(0.0, 4.0), (5.0, 6.5), (10.0, 9.0)]),
                       (2.99995, [(0.0, 1.9), (5.0, 4.4), (10.0, 6.9)])])
    write('labels_near_level.DPT',
          side_archive(12, group=near, label_sets=[[], [(3.0, 0, 0)], [], []],
                       erased_sets=[[], [(2.99995, 0, 1)], [], []]))
    # Damaged files, each wrong in one count or index only.
    write('bad_label_count.TYD', main_archive(12, LABELS + [(0.0, 0.0)]))
    write('bad_version.TYD', i32(13) + main_archive(12)[4:])
    write('bad_version.DPT', i32(13) + side_archive(12)[4:])
    write('bad_node_index.DPT', side_archive(12, node_index=[[0, 1, 2], [3, -1, 5]]))
    write('bad_tri_node.DPT', side_archive(12, tri_nodes=[0, 3, 1, 1, 4, 5]))
    write('bad_tri_edge.DPT', side_archive(12, tri_edges=[0, 2, 1, 4, 6, 3]))
    write('bad_edge_pair.DPT',
          side_archive(12, edge_pairs=[(0, -1), (-1, 0), (-1, 0), (-1, 2), (1, -1), (-1, 1)]))
    write('bad_tri_count.DPT', side_archive(12, tri_count=100000000))
    write('bad_edge_node.DPT', side_archive(12, edges=EDGES[:5] + [(2, 5)]))
    # A mesh of no nodes, 0 columns and 2^31 - 1 rows: no node-index entry is stored, but
    # every walk of the grid would go through its rows (and the same the other way round).
    # A mesh is either empty (0 x 0) or has nodes.
    for name, cols, rows in (('bad_rows_no_columns.DPT', 0, 0x7FFFFFFF),
                             ('bad_columns_no_rows.DPT', 0x7FFFFFFF, 0)):
        empty_mesh = i32(0, cols, rows) + f64(AREA[2]) + f64(BASE_LEVEL, MESH_H0)
        write(name, side_archive(12, tri_count=0, tri_edges=[], tri_nodes=[], edge_pairs=[],
                                 edges=[], mesh_bytes=empty_mesh))


if __name__ == '__main__':
    main()
