#!/usr/bin/env python3
"""Writes the golden archive bytes of the platform tests from the archive layout:
little-endian 4-byte int, 2-byte short, IEEE float and double, and strings with the
length prefix (1 byte below 255; 0xFF + 16 bits below 0xFFFE; 0xFF 0xFFFF + 32 bits)."""
import struct, pathlib

def cstring(b: bytes) -> bytes:
    n = len(b)
    if n < 0xFF:
        return struct.pack('<B', n) + b
    if n < 0xFFFE:
        return b'\xff' + struct.pack('<H', n) + b
    return b'\xff\xff\xff' + struct.pack('<I', n) + b

here = pathlib.Path(__file__).parent
out = b''
out += struct.pack('<i', 8)            # a version number
out += struct.pack('<i', -123456)
out += struct.pack('<I', 0xDEADBEEF)
out += struct.pack('<h', -2)
out += struct.pack('<H', 65535)
out += struct.pack('<f', 1.5)
out += struct.pack('<d', 99999999.999)
out += cstring(b'')
out += cstring('測点'.encode('cp932'))
out += cstring('ｹｲｻﾝ'.encode('cp932'))   # half-width katakana, one byte each
out += cstring(b'x' * 254)
out += cstring(b'y' * 255)
out += cstring(b'z' * 70000)
(here / 'mixed.bin').write_bytes(out)
