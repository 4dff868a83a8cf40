#!/usr/bin/env python3
"""Writes meshgate_pinned.txt: Meshgate's conversion computed here from its description,
once with its historical pi = 3.141592654 and once with the full value.

The two differ by up to a few hundredths of a millimetre, inside the one-millimetre
agreement with PROJ, so only values computed with the historical pi can pin it. The points
are chosen far enough from the zone origins for the difference to exceed 5 micrometres.
Run from this folder:  python3 make_meshgate_pinned.py > meshgate_pinned.txt
"""
import math
from fractions import Fraction

ELLIPSOIDS = {1: (6378137.0, 1.0 / 298.257222101), 2: (6377397.155, 1.0 / 299.152813)}
ZONES = {1: (33, 0, 129, 30), 9: (36, 0, 139, 50), 13: (44, 0, 144, 15), 19: (26, 0, 154, 0)}
M0 = 0.9999

# Coefficients of the meridian arc: rows A..I, columns e^0, e^2, ..., e^16.
ARC = [
    ['1', '3/4', '45/64', '175/256', '11025/16384', '43659/65536', '693693/1048576',
     '2760615/4194304', '703956825/1073741824'],
    ['0', '3/4', '15/16', '525/512', '2205/2048', '72765/65536', '297297/262144',
     '19324305/16777216', '78217425/67108864'],
    ['0', '0', '15/64', '105/256', '2205/4096', '10395/16384', '1486485/2097152',
     '6441435/8388608', '109504395/134217728'],
    ['0', '0', '0', '35/512', '315/2048', '31185/131072', '165165/524288', '6441435/16777216',
     '29864835/67108864'],
    ['0', '0', '0', '0', '315/16384', '3465/65536', '99099/1048576', '585585/4194304',
     '49774725/268435456'],
    ['0', '0', '0', '0', '0', '693/131072', '9009/524288', '585585/16777216', '3828825/67108864'],
    ['0', '0', '0', '0', '0', '0', '3003/2097152', '45045/8388608', '1640925/134217728'],
    ['0', '0', '0', '0', '0', '0', '0', '6435/16777216', '109395/67108864'],
    ['0', '0', '0', '0', '0', '0', '0', '0', '109395/1073741824'],
]


def arc(a, e2, psi):
    coeff = []
    for row in ARC:
        c = 0.0
        for n, w in enumerate(row):
            c += float(Fraction(w)) * e2 ** n
        coeff.append(c)
    s = coeff[0] * psi
    for k in range(1, 9):
        term = coeff[k] / (2 * k) * math.sin(2 * k * psi)
        s += term if k % 2 == 0 else -term
    return a * (1 - e2) * s


def convert(ellipsoid, zone, lat, lon, pi):
    a, f = ELLIPSOIDS[ellipsoid]
    F = 1.0 / f
    d0, m0_, d1, m1 = ZONES[zone]
    lat0 = d0 + m0_ / 60.0
    lon0 = d1 + m1 / 60.0
    phi = lat * pi / 180.0
    phi0 = lat0 * pi / 180.0
    c = a * F / (F - 1)
    e = math.sqrt(2 * F - 1) / F
    e2 = e * e
    ep = math.sqrt(2 * F - 1) / (F - 1)
    t = math.tan(phi)
    eta2 = ep * ep * math.cos(phi) ** 2
    N = c / math.sqrt(1 + eta2)
    dl = (lon - lon0) * pi / 180.0
    cp = math.cos(phi)
    x = (arc(a, e2, phi) - arc(a, e2, phi0)
         + N / 2 * cp ** 2 * t * dl ** 2
         + N / 24 * cp ** 4 * t * (5 - t * t + 9 * eta2 + 4 * eta2 * eta2) * dl ** 4
         - N / 720 * cp ** 6 * t * (-61 + 58 * t * t - t ** 4 - 270 * eta2 + 330 * t * t * eta2) * dl ** 6
         - N / 40320 * cp ** 8 * t * (-1385 + 3111 * t * t - 543 * t ** 4 + t ** 6) * dl ** 8)
    y = (N * cp * dl
         - N / 6 * cp ** 3 * (-1 + t * t - eta2) * dl ** 3
         - N / 120 * cp ** 5 * (-5 + 18 * t * t - t ** 4 - 14 * eta2 + 58 * t * t * eta2) * dl ** 5
         - N / 5040 * cp ** 7 * (-61 + 479 * t * t - 179 * t ** 4 + t ** 6) * dl ** 7)
    return M0 * x, M0 * y


POINTS = [
    (1, 1, 34.9, 131.2), (2, 1, 31.2, 127.9), (1, 9, 37.8, 141.6), (2, 9, 34.1, 138.0),
    (1, 13, 45.5, 146.1), (2, 13, 42.4, 142.5), (1, 19, 27.9, 156.0), (2, 19, 24.0, 152.2),
]


def main():
    print('# Meshgate pinned to its historical pi = 3.141592654; written by make_meshgate_pinned.py.')
    print('# ellipsoid zone latitude longitude x y (historical pi) x y (full pi)')
    for ell, zone, lat, lon in POINTS:
        xh, yh = convert(ell, zone, lat, lon, 3.141592654)
        xf, yf = convert(ell, zone, lat, lon, math.pi)
        assert max(abs(xh - xf), abs(yh - yf)) > 5e-6, (ell, zone, lat, lon)
        print('%d %d %.6f %.6f %.7f %.7f %.7f %.7f' % (ell, zone, lat, lon, xh, yh, xf, yf))


if __name__ == '__main__':
    main()
