#!/usr/bin/env python3
"""Builds the golden project files (.TIK) from the archive layout, field by field.

Layout of a project file (little-endian, no padding):
  int version
  project conditions: int mouse tolerance, double tablet tolerance, 17 int reserved,
      17 double reserved, int coordinate system, double north, double rotation (v > 5)
  calculation area twice: double x0, double y0, double mesh size, int nx, int ny
  survey points: int count, int slot count, int growth; per point in use, ascending slot:
      int slot, double x, double y, int state, int link count n, n int line slots,
      double height (v > 5)
  lines: int count, int slot count, int growth; per line in use, ascending slot:
      int slot, int start point slot, int end point slot, int state,
      int height type (v > 7), double height, int kind (4 reads as 0)
  blocks: int count, int capacity, int growth; count x (double x, double y)
  block outlines: int n; n x (int m; m x (double x, double y))
  output points (v > 5): int count, int capacity; capacity x
      (double x, double y, string name, int in-use flag)
  strings: length byte (< 255), else 0xFF + 16-bit length, else 0xFF 0xFFFF + 32-bit
      length; then the code page 932 bytes.

Run it from anywhere; it rewrites the .TIK files beside itself.
"""
import copy
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def i32(v):
    return struct.pack('<i', v)


def f64(v):
    return struct.pack('<d', v)


def cstr(b):
    n = len(b)
    if n < 0xFF:
        head = struct.pack('<B', n)
    elif n < 0xFFFE:
        head = struct.pack('<BH', 0xFF, n)
    else:
        head = struct.pack('<BHI', 0xFF, 0xFFFF, n)
    return head + b


# ---------------------------------------------------------------- project model

def empty_project():
    return {
        'tik': {'tol_mouse': 5, 'tol_tablet': 1.0, 'res_i': [0] * 17, 'res_d': [0.0] * 17,
                'coord': 0, 'north': 0.0, 'rotation': 0.0},
        'areas': [(0.0, 0.0, 10.0, 0, 0), (0.0, 0.0, 10.0, 0, 0)],
        'points': {'count': None, 'slots': 5000, 'grow': 1000, 'items': {}},
        'lines': {'count': None, 'slots': 5000, 'grow': 1000, 'items': {}},
        'blocks': {'count': None, 'capacity': 10, 'grow': 10, 'items': []},
        'outlines': [],
        'calc': {'count': 0, 'items': [(0.0, 0.0, str(i + 1).encode(), 0) for i in range(10)]},
    }


def small_project():
    p = empty_project()
    t = p['tik']
    t['tol_mouse'] = 7
    t['tol_tablet'] = 0.5
    t['res_i'][0] = 11
    t['res_i'][16] = -3
    t['res_d'][5] = 1.25
    t['coord'] = 1
    t['north'] = 12.5
    t['rotation'] = -30.0
    # slot: (x, y, state, links, height); slots 4 and 6 are free.
    # The links are what a rebuild over all lines gives, except point 7, which still
    # lacks its auxiliary line 8: links are saved as they stand.
    p['points']['items'] = {
        0: (0.0, 0.0, 0, [0], 2.0),
        1: (100.0, 0.0, 0, [0, 1], 2.0),
        2: (100.0, 100.0, 0, [1, 3, 8], 1.5),
        3: (0.0, 100.0, 0, [2, 3], 1.25),
        5: (50.0, 200.0, 0, [2, 4], -4.0),
        7: (150.0, 200.125, 0, [4], -4.5),
    }
    # slot: (start, end, state, height type, height, kind)
    p['lines']['items'] = {
        0: (0, 1, 0, 0, 3.0, 1),     # terrain line, heights from the points
        1: (1, 2, 0, 1, 2.5, 1),     # terrain line, boundary valid
        2: (3, 5, 0, 0, 7.75, 4),    # old kind 4: undefined
        3: (2, 3, 0, 2, 0.0, 0),     # undefined
        4: (5, 7, 0, 0, -5.0, 2),    # depth line
        8: (2, 7, 0, 0, -1.0, 3),    # auxiliary line
    }
    p['blocks']['items'] = [(50.0, -50.0), (20.0, 30.5)]
    calc = p['calc']['items']
    calc[0] = (10.5, 20.25, b'1', 1)
    calc[1] = (0.0, 0.0, '港口'.encode('cp932'), 0)
    calc[2] = (300.0, 400.0, b'3', 1)
    calc[4] = (55.0, 66.0, b'5', 0)     # free, keeps its last position
    p['calc']['count'] = 2
    return p


# ---------------------------------------------------------------- writer

def tik_bytes(p, version):
    out = bytearray(i32(version))
    t = p['tik']
    out += i32(t['tol_mouse']) + f64(t['tol_tablet'])
    out += b''.join(i32(v) for v in t['res_i'])
    out += b''.join(f64(v) for v in t['res_d'])
    out += i32(t['coord']) + f64(t['north'])
    if version > 5:
        out += f64(t['rotation'])
    for (x0, y0, mesh, nx, ny) in p['areas']:
        out += f64(x0) + f64(y0) + f64(mesh) + i32(nx) + i32(ny)

    pts = p['points']
    pairs = [(s, pts['items'][s]) for s in sorted(pts['items'])] + pts.get('extra', [])
    count = pts['count'] if pts['count'] is not None else len(pairs)
    out += i32(count) + i32(pts['slots']) + i32(pts['grow'])
    for slot, (x, y, state, links, height) in pairs:
        out += i32(slot) + f64(x) + f64(y) + i32(state) + i32(len(links))
        out += b''.join(i32(l) for l in links)
        if version > 5:
            out += f64(height)

    lns = p['lines']
    pairs = [(s, lns['items'][s]) for s in sorted(lns['items'])] + lns.get('extra', [])
    count = lns['count'] if lns['count'] is not None else len(pairs)
    out += i32(count) + i32(lns['slots']) + i32(lns['grow'])
    for slot, (s, e, state, htype, height, kind) in pairs:
        out += i32(slot) + i32(s) + i32(e) + i32(state)
        if version > 7:
            out += i32(htype)
        out += f64(height) + i32(kind)

    blk = p['blocks']
    count = blk['count'] if blk['count'] is not None else len(blk['items'])
    out += i32(count) + i32(blk['capacity']) + i32(blk['grow'])
    for (x, y) in blk['items']:
        out += f64(x) + f64(y)

    out += i32(len(p['outlines']))
    for outline in p['outlines']:
        out += i32(len(outline))
        for (x, y) in outline:
            out += f64(x) + f64(y)

    if version > 5:
        calc = p['calc']
        out += i32(calc['count']) + i32(len(calc['items']))
        for (x, y, name, use) in calc['items']:
            out += f64(x) + f64(y) + cstr(name) + i32(use)
    return bytes(out)


# ---------------------------------------------------------------- what a load makes of a file

def as_loaded(p, version):
    """The project as the program holds it after loading a file of `version`."""
    q = copy.deepcopy(p)
    fresh = empty_project()
    if version <= 5:
        q['tik']['rotation'] = fresh['tik']['rotation']
        q['calc'] = fresh['calc']
        q['points']['items'] = {s: (x, y, st, ln, 0.0)
                                for s, (x, y, st, ln, h) in q['points']['items'].items()}
    q['lines']['items'] = {s: (a, b, st, (ht if version > 7 else 0), h, (0 if k == 4 else k))
                           for s, (a, b, st, ht, h, k) in q['lines']['items'].items()}
    if version < 7:
        # Links rebuilt over all lines in slot order, then each point takes the height of
        # its first line whose kind is not undefined.
        links = {s: [] for s in q['points']['items']}
        for ls in sorted(q['lines']['items']):
            a, b = q['lines']['items'][ls][0:2]
            for end in (a, b):
                if end in links and len(links[end]) < 8:
                    links[end].append(ls)
        items = {}
        for s, (x, y, st, _, h) in q['points']['items'].items():
            for ls in links[s]:
                if q['lines']['items'][ls][5] != 0:
                    h = q['lines']['items'][ls][4]
                    break
            items[s] = (x, y, st, links[s], h)
        q['points']['items'] = items
    # The calculation areas and outlines are never kept.
    q['areas'] = fresh['areas']
    q['outlines'] = []
    return q


# ---------------------------------------------------------------- damaged files

def damaged(small):
    """name -> bytes of a version-8 file that a reader must refuse."""
    out = {}

    def variant(name, change, version=8):
        p = copy.deepcopy(small)
        change(p)
        out[name] = tik_bytes(p, version)

    def add_links(p):
        x, y, st, _, h = p['points']['items'][2]
        p['points']['items'][2] = (x, y, st, [1, 3, 8, 0, 0, 0, 0, 0, 0], h)
    variant('bad_link_count', add_links)

    def link_out_of_range(p):
        x, y, st, _, h = p['points']['items'][0]
        p['points']['items'][0] = (x, y, st, [5000], h)
    variant('bad_link_slot', link_out_of_range)

    def point_slot_out_of_range(p):
        p['points']['items'][5000] = p['points']['items'].pop(7)
    variant('bad_point_slot', point_slot_out_of_range)

    def point_slot_twice(p):
        p['points']['extra'] = [(5, p['points']['items'][7])]
    variant('bad_point_slot_twice', point_slot_twice)

    def line_slot_twice(p):
        p['lines']['extra'] = [(0, p['lines']['items'][8])]
    variant('bad_line_slot_twice', line_slot_twice)

    def point_count_over_slots(p):
        p['points']['slots'] = 5
    variant('bad_point_count_over_slots', point_count_over_slots)

    def point_grow_zero(p):
        p['points']['grow'] = 0
    variant('bad_point_grow', point_grow_zero)

    def point_free_state(p):
        x, y, st, ln, h = p['points']['items'][3]
        p['points']['items'][3] = (x, y, -1, ln, h)
    variant('bad_point_state', point_free_state)

    def point_count_too_big(p):
        p['points']['count'] = 1000
    variant('bad_point_count', point_count_too_big)

    def point_slots_huge(p):
        p['points']['slots'] = 0x7FFFFFFF
    variant('bad_point_slots_huge', point_slots_huge)

    def line_slot_negative(p):
        p['lines']['items'][-1] = p['lines']['items'].pop(8)
    variant('bad_line_slot', line_slot_negative)

    def line_end_out_of_range(p):
        s, e, st, ht, h, k = p['lines']['items'][4]
        p['lines']['items'][4] = (s, 5000, st, ht, h, k)
    variant('bad_line_end', line_end_out_of_range)

    def line_grow_negative(p):
        p['lines']['grow'] = -1000
    variant('bad_line_grow', line_grow_negative)

    def block_count_over_capacity(p):
        p['blocks']['capacity'] = 1
    variant('bad_block_count', block_count_over_capacity)

    def block_grow_zero(p):
        p['blocks']['grow'] = 0
    variant('bad_block_grow', block_grow_zero)

    # an outline count that the rest of the file cannot hold
    p = copy.deepcopy(small)
    b = bytearray(tik_bytes(p, 8))
    calc_len = 8 + sum(16 + 1 + len(n) + 4 for (_, _, n, _) in p['calc']['items'])
    pos = len(b) - calc_len - 4
    assert b[pos:pos + 4] == i32(0)
    b[pos:pos + 4] = i32(0x7FFFFFFF)
    out['bad_outline_count'] = bytes(b)

    def calc_capacity(p):
        p['calc']['items'].append((0.0, 0.0, b'11', 0))
    variant('bad_calc_capacity', calc_capacity)

    def calc_count(p):
        p['calc']['count'] = 11
    variant('bad_calc_count', calc_count)

    def calc_use_flag(p):
        x, y, n, _ = p['calc']['items'][6]
        p['calc']['items'][6] = (x, y, n, 2)
    variant('bad_calc_use', calc_use_flag)

    # a 32-bit string length far beyond the end of the file
    p = copy.deepcopy(small)
    b = bytearray(tik_bytes(p, 8))
    tail = f64(0.0) + f64(0.0) + cstr(b'10') + i32(0)
    assert b.endswith(tail)
    b[len(b) - len(tail):] = f64(0.0) + f64(0.0) + struct.pack('<BHI', 0xFF, 0xFFFF, 0x10000000)
    out['bad_calc_name'] = bytes(b)

    b = bytearray(tik_bytes(small, 8))
    b[0:4] = i32(9)
    out['bad_version_9'] = bytes(b)
    b = bytearray(tik_bytes(small, 8))
    b[0:4] = i32(-1)
    out['bad_version_negative'] = bytes(b)
    return out


def main():
    files = {}
    empty = empty_project()
    files['empty_v8'] = tik_bytes(empty, 8)
    assert len(files['empty_v8']) == 573

    small = small_project()
    for v in (5, 6, 7, 8):
        files['small_v%d' % v] = tik_bytes(small, v)
        files['small_v%d_saved' % v] = tik_bytes(as_loaded(small, v), 8)
    # A saved project reads back and saves to the same bytes.
    assert tik_bytes(as_loaded(as_loaded(small, 8), 8), 8) == files['small_v8_saved']

    # Items that are read and dropped may hold anything.
    extra = copy.deepcopy(small)
    extra['areas'] = [(1000.0, 2000.0, 25.0, 40, 30), (-5.0, 7.0, 2.5, 3, 4)]
    extra['outlines'] = [[(0.0, 0.0), (1.0, 0.0), (1.0, 1.0), (0.0, 0.0)], []]
    files['small_v8_extra_items'] = tik_bytes(extra, 8)

    files.update(damaged(small))

    # 573 bytes that announce 16,777,216 slots for the points and for the lines: far more
    # free slots than any project has had.
    huge = empty_project()
    huge['points']['slots'] = 16 * 1024 * 1024
    huge['lines']['slots'] = 16 * 1024 * 1024
    files['bad_slots_16m'] = tik_bytes(huge, 8)
    assert len(files['bad_slots_16m']) == 573

    # The empty project with a point table grown 4190 times: 4,195,000 slots, the most
    # that the tables may grow to. It opens; one growth step more is a damaged file.
    grown = empty_project()
    grown['points']['slots'] = 5000 + 4190 * 1000
    files['empty_v8_points_4195000'] = tik_bytes(grown, 8)
    assert len(files['empty_v8_points_4195000']) == 573
    grown['points']['slots'] += 1000
    files['bad_point_slots_4196000'] = tik_bytes(grown, 8)
    grown = empty_project()
    grown['lines']['slots'] = 5000 + 4191 * 1000
    files['bad_line_slots_4196000'] = tik_bytes(grown, 8)

    # An output-point count of 0 while the seventh point is in use: the flags hold.
    flags = copy.deepcopy(small)
    flags['calc']['count'] = 0
    files['small_v8_calc_count_zero'] = tik_bytes(flags, 8)

    for name, data in sorted(files.items()):
        with open(os.path.join(HERE, name + '.TIK'), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
