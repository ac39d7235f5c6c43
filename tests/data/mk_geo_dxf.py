#!/usr/bin/env python3
"""Writes the DXF fixtures of the real-world coordinate journals: geo_utm.dxf, three contour rings
of a hill at 712 km east, 9,558 km north (UTM metres with sub-millimetre digits, no unit declared);
units_m.dxf, a 600 x 860 m plan that declares metres ($INSUNITS 6); plan_nounit.dxf, the same plan
declaring no unit."""
import math


def lw(h, pts, closed=True):
    s = ["  0", "LWPOLYLINE", "  8", "0", " 90", str(len(pts)), " 70", "1" if closed else "0", " 38", f"{h:g}"]
    for x, y in pts:
        s += [" 10", f"{x:.4f}", " 20", f"{y:.4f}"]
    return s


def ring(cx, cy, r, n=16):
    return [(cx + r * math.cos(2 * math.pi * k / n), cy + 0.8 * r * math.sin(2 * math.pi * k / n)) for k in range(n)]


def dxf(ents, hdr=None):
    s = []
    if hdr:
        s += ["  0", "SECTION", "  2", "HEADER"] + hdr + ["  0", "ENDSEC"]
    s += ["  0", "SECTION", "  2", "ENTITIES"] + ents + ["  0", "ENDSEC", "  0", "EOF"]
    return "\n".join(s) + "\n"


cx, cy = 712200.2345, 9558150.6789
e = []
for h, r in ((100, 190), (110, 130), (120, 70)):
    e += lw(h, ring(cx, cy, r))
open("geo_utm.dxf", "w").write(dxf(e))
plan = lw(10, [(0, 0), (600, 0), (600, 860), (0, 860)]) + lw(20, [(200, 300), (400, 300), (400, 560), (200, 560)])
open("units_m.dxf", "w").write(dxf(plan, ["  9", "$INSUNITS", " 70", "     6"]))
open("plan_nounit.dxf", "w").write(dxf(plan))
