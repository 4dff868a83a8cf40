#!/bin/sh
# Writes the golden records of the solver's files by hand, field by field from the
# record layouts (F10.3, F9.4, E10.3, I5, blanks), with printf only. Run from this folder.
set -e
CRLF='\r\n'

# Result records: ten fields, each followed by one blank, the last ending in column 102.
#   X        Y        depth    H/H0     Kr       Hmax/H0  T/T0     dir      vx       vy
{
  # i=3, j=2 of dx=10, dy=20, x0=100, y0=-50; H/H0 0.5 at 30 degrees; breaking on.
  printf '   120.000'; printf ' '; printf '   -30.000'; printf ' '; printf '     5.500'; printf ' '
  printf '   0.5000'; printf ' '; printf ' -99.0000'; printf ' '; printf '   0.9000'; printf ' '
  printf '   1.0000'; printf ' '; printf '  30.0000'; printf ' '; printf '   0.4330'; printf ' '
  printf '   0.2500'; printf "$CRLF"
  # A land node: depth -9999, no waves.
  printf '     0.000'; printf ' '; printf '     0.000'; printf ' '; printf ' -9999.000'; printf ' '
  printf '   0.0000'; printf ' '; printf ' -99.0000'; printf ' '; printf '   0.0000'; printf ' '
  printf '   0.0000'; printf ' '; printf '   0.0000'; printf ' '; printf '   0.0000'; printf ' '
  printf '   0.0000'; printf "$CRLF"
  # Field limits: a full-width X, a negative direction, a small negative component.
  printf '999999.999'; printf ' '; printf '     0.250'; printf ' '; printf '    12.345'; printf ' '
  printf '   1.2346'; printf ' '; printf '   0.8765'; printf ' '; printf '   1.7999'; printf ' '
  printf '   0.9876'; printf ' '; printf ' -45.1235'; printf ' '; printf '   0.8721'; printf ' '
  printf '  -0.0000'; printf "$CRLF"
} > kka_records.golden

# Dump record: I5 i, I5 j, 11 + 1 blanks, E10.3 Sxx, blank, E10.3 Syy, blank, E10.3 Sxy.
{
  printf '    7'; printf '   12'; printf '           '; printf ' '
  printf ' 0.123E+04'; printf ' '; printf '%s' '-0.123E-02'; printf ' '; printf ' 0.000E+00'; printf "$CRLF"
} > dump_record.golden

# Busy flag: "1" and the title; idle: "0".
{ printf '1'; printf "$CRLF"; printf 'BAY'; printf "$CRLF"; } > calc_busy.golden
{ printf '1'; printf "$CRLF"; printf "$CRLF"; } > calc_busy_empty_title.golden
{ printf '0'; printf "$CRLF"; } > calc_idle.golden

# Timing file: start date, start time, end date, end time.
{ printf '05-Mar-07'; printf "$CRLF"; printf '09:04:05'; printf "$CRLF"
  printf '31-Dec-00'; printf "$CRLF"; printf '23:59:59'; printf "$CRLF"; } > time_tmp.golden
