#!/usr/bin/env python3
"""Writes the golden solver input (.CAL) and batch input (.DEC) of a tiny calculation,
one file per orientation code. Every line below is spelled out by hand from the record
formats; the script only joins them with CR LF and converts the remark to code page 932.

The calculation: a mesh of 3 columns and 2 rows, spacing 10 m, whose upper middle node
is land:
    row 1:   2.75   land   1.50
    row 0:   5.50   4.25   3.00
wave breaking on, 9 direction bins, Smax 10.9, spreads 80 and 70 degrees, 3 frequency
components, T0 8 s, H0 2.5 m, tide 1.25 m, remark "湾の試算". The principal direction
is given as an angle (mode 1) with north 0 and a view angle 0 (free rotation), so the
angle itself picks the side the waves enter through:
    code 0 (top row)      angle 100: 10 degrees from the march axis
    code 1 (left column)  angle 190: 10 degrees
    code 2 (bottom row)   angle 280: 10 degrees
    code 3 (right column) angle 350: -10 degrees

Run it from anywhere; it rewrites the files beside itself.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

HEAD = [
    '0',
    '    1',
    '0',
    '1',
    '    9',
    '   10',
    '      80.0      70.0',
    '    3',
]
SPACING = [
    '    10.000    10.000',
    '     0.000     0.000',
    '     8.000     2.500',
]

CASES = {
    0: dict(grid='    2    3', direction='      10.0     1.250',
            depths=['     2.750', ' -9999.000', '     1.500',
                    '     5.500', '     4.250', '     3.000'],
            dec_grid='    2,    3'),
    1: dict(grid='    3    2', direction='      10.0     1.250',
            depths=['     5.500', '     2.750',
                    '     4.250', ' -9999.000',
                    '     3.000', '     1.500'],
            dec_grid='    3,    2'),
    2: dict(grid='    2    3', direction='      10.0     1.250',
            depths=['     3.000', '     4.250', '     5.500',
                    '     1.500', ' -9999.000', '     2.750'],
            dec_grid='    2,    3'),
    3: dict(grid='    3    2', direction='     -10.0     1.250',
            depths=['     1.500', '     3.000',
                    ' -9999.000', '     4.250',
                    '     2.750', '     5.500'],
            dec_grid='    3,    2'),
}


def crlf(lines):
    return ''.join(line + '\r\n' for line in lines).encode('cp932')


def main():
    for code, case in CASES.items():
        cal = HEAD + [case['grid']] + SPACING + [case['direction']] + case['depths']
        with open(os.path.join(HERE, 'tiny_code%d.CAL' % code), 'wb') as f:
            f.write(crlf(cal))
        for flag in (0, 1):
            dec = ['"湾の試算"', '         9', '         3', case['dec_grid'], '    %d' % flag]
            with open(os.path.join(HERE, 'tiny_code%d_batch%d.DEC' % (code, flag)), 'wb') as f:
                f.write(crlf(dec))


if __name__ == '__main__':
    main()
