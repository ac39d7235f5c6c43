#!/usr/bin/env python3
# Writes vec_lines.bmp: three parallel lines 4 pixels wide across an 80 x 60 sheet,
# the map of the centre-line and height-line journal (tests/journals/vec_centre.jrn).
import math
import struct

W, H = 80, 60
ink = [[False] * W for _ in range(H)]
for top in (10, 25, 40):
    for y in range(top, top + 4):
        for x in range(5, 75):
            ink[y][x] = True
pad = (4 - (W * 3) % 4) % 4
rows = b''
for y in range(H - 1, -1, -1):
    rows += b''.join(b'\x00\x00\x00' if ink[y][x] else b'\xff\xff\xff' for x in range(W)) + b'\x00' * pad
hdr = b'BM' + struct.pack('<IHHI', 54 + len(rows), 0, 0, 54)
hdr += struct.pack('<iiiHHIIiiII', 40, W, H, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
with open('vec_lines.bmp', 'wb') as f:
    f.write(hdr + rows)
