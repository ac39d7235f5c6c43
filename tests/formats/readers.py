#!/usr/bin/python3
"""Exports read by the real readers, and real-world DXF drawings read by the import.

Usage: readers.py ALTIMETRA_CLI WORK_DIR

Builds a terrain and contours through a journal, exports DXF, STL, VRML and GLD, and checks that
ezdxf reads the DXF (entities, counts, coordinates, layer names without being told the encoding),
ogrinfo its layer names, admesh the STL (facet count, no errors) and
tovrmlx3d the VRML (exit status 0). Then writes drawings as other programs do (ezdxf 3D polylines
with comments and CR LF line ends; a GIS-style export of LWPOLYLINEs with elevation) and checks
that the import gives their curves.
"""
import math
import os
import re
import subprocess
import sys

import ezdxf

CLI, WORK = sys.argv[1], sys.argv[2]
os.makedirs(WORK, exist_ok=True)
os.chdir(WORK)
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL:", what)


def run_journal(text):
    with open("j.jrn", "w") as f:
        f.write(text)
    r = subprocess.run([CLI, "run", "j.jrn"], capture_output=True, text=True, errors="replace")
    if r.returncode != 0:
        print(r.stdout, r.stderr)
        raise SystemExit("journal failed")
    return r.stdout


def parse_curves(out):
    """Curves of a 'dump curves' block: list of point lists (mm)."""
    curves, cur = [], None
    for line in out.splitlines():
        if line.startswith("curve "):
            cur = []
            curves.append(cur)
        elif line.startswith("  ") and cur is not None:
            cur.append(tuple(float(v) for v in line.split()))
    return curves


# ---- exports ----
# Two contours by clicks, a terrain on a 5 x 4 grid, heights from the contours.
TERRAIN = """window 800 600
cmd 1 101001
click 300 400
click 400 380
click 500 400
rpress 500 400
rrelease 500 400
cmd 1 101001
click 300 240
click 500 240
rpress 500 240
rrelease 500 240
set CrvHgt 10000
cmd 1 101022
click 400 390
set CrvHgt 20000
click 400 240
rpress 0 0
rrelease 0 0
set TrnRgn -1000000 -1000000 1000000 500000
set MshItv 500000
cmd 1 101042
cmd 4 104133
"""
out = run_journal(TERRAIN + """set OutUnit 1
export dxf plan
export stl hill
export vrml hill
export gld dem
dump grid
dump terrain
dump curves
""")
# The grid is not square: GLD says which block it writes, and nothing else shows a box.
boxes = [l for l in out.splitlines() if l.startswith("box ")]
check(len(boxes) == 1 and boxes[0].startswith("box 1 ") and "GLDには" in boxes[0],
      "exports showed only the GLD block information: %s" % boxes)
lines = out.splitlines()
gi = lines.index(next(l for l in lines if l.startswith("grid rows=")))
rows, cols = (int(v) for v in re.findall(r"\d+", lines[gi]))
xs = [float(v) for v in lines[gi + 1].split()]
ys = [float(v) for v in lines[gi + 2].split()]
ti = lines.index(next(l for l in lines if l.startswith("terrain rows=")))
zs = [[float(v) for v in lines[ti + 1 + r].split()] for r in range(rows)]
ci = lines.index(next(l for l in lines if l.startswith("curves ")))
contours = parse_curves("\n".join(lines[ci:]))

# DXF through ezdxf with no encoding given: the header's code page decodes the layer names (a
# file without it was read as cp1252 and refused). One polygon mesh of the grid, one 3D polyline
# per contour, in metres.
doc = ezdxf.readfile("plan.dxf")
check(doc.dxfversion == "AC1009", "DXF version from the header: " + doc.dxfversion)
ents = list(doc.modelspace())
meshes = [e for e in ents if e.dxftype() == "POLYLINE" and e.get_mode() == "AcDbPolygonMesh"]
polys = [e for e in ents if e.dxftype() == "POLYLINE" and e.get_mode() == "AcDb3dPolyline"]
check(len(ents) == 1 + len(contours), "DXF holds the mesh and every contour (%d)" % len(ents))
check(len(meshes) == 1, "one polygon mesh")
if meshes:
    m = meshes[0]
    check((m.dxf.m_count, m.dxf.n_count) == (rows, cols), "mesh size %s" % ((m.dxf.m_count, m.dxf.n_count),))
    check(m.dxf.layer == "地形", "mesh layer")
    vs = list(m.vertices)
    check(len(vs) == rows * cols, "mesh vertex count")
    ok = all(
        math.isclose(vs[r * cols + c].dxf.location.x, xs[c] / 1000, abs_tol=1e-5)
        and math.isclose(vs[r * cols + c].dxf.location.y, ys[r] / 1000, abs_tol=1e-5)
        and math.isclose(vs[r * cols + c].dxf.location.z, zs[r][c] / 1000, abs_tol=1e-5)
        for r in range(rows) for c in range(cols))
    check(ok, "mesh vertices in metres")
check(len(polys) == len(contours), "one 3D polyline per contour")
for p, want in zip(polys, contours):
    pts = list(p.points())
    check(p.dxf.layer == "等高線", "contour layer")
    check(len(pts) == len(want), "contour point count")
    check(all(math.isclose(a, b / 1000, abs_tol=1e-5) for q, w in zip(pts, want) for a, b in zip(q, w)),
          "contour points in metres")

# DXF through GDAL: the layer names come back decoded. (GDAL's DXF driver passes over polygon
# meshes, so only the contours' layer shows.)
r = subprocess.run(["ogrinfo", "-q", "-al", "-ro", "plan.dxf"], capture_output=True, text=True, errors="replace")
check(r.returncode == 0, "ogrinfo exit status: " + r.stderr[-300:])
names = re.findall(r"Layer \(String\) = (\S+)", r.stdout)
check(len(names) == len(contours) and set(names) == {"等高線"}, "ogrinfo layer names: %s" % sorted(set(names)))

# STL through admesh: two facets per cell, nothing to repair.
r = subprocess.run(["admesh", "hill.stl"], capture_output=True, text=True, errors="replace")
check(r.returncode == 0, "admesh exit status")
facets = re.search(r"Number of facets\s*:\s*(\d+)", r.stdout)
check(facets and int(facets.group(1)) == 2 * (rows - 1) * (cols - 1), "admesh facet count")
check("rror" not in r.stdout + r.stderr, "admesh reports no error")

# VRML through tovrmlx3d.
r = subprocess.run(["tovrmlx3d", "hill.wrl"], capture_output=True, text=True, errors="replace")
check(r.returncode == 0, "tovrmlx3d exit status: " + r.stderr[-300:])
check("IndexedFaceSet" in r.stdout, "tovrmlx3d converted the face set")

# GLD: CR LF lines, a 203-column header.
gld = open("dem.gld", "rb").read()
first = gld.split(b"\r\n")[0]
check(len(first) == 203 and first.endswith(b"YY"), "GLD header of 203 columns with its CR LF")

# ---- real-world drawings ----
# ezdxf: 3D polylines in metres, comments, CR LF.
src = ezdxf.new("R2000")
msp = src.modelspace()
shapes = [[(0, 0, 10), (100.5, 0, 10), (100.5, 50.25, 10)],
          [(-20, -20, 25.5), (30, -10, 25.5), (40, 60, 25.5), (-20, -20, 25.5)]]
for s in shapes:
    msp.add_polyline3d(s)
msp.add_text("標高", dxfattribs={"insert": (5, 5, 0)})
src.saveas("ezdxf_lf.dxf")
text = open("ezdxf_lf.dxf", "rb").read().decode("utf-8")
text = "999\nwritten by a script\n" + text.replace("0\nENTITIES\n", "0\nENTITIES\n999\nthe contours\n", 1)
open("ezdxf.dxf", "wb").write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8"))
out = run_journal("set InUnit 1\nimport dxf ezdxf.dxf\ndump curves\ndump messages\n")
check("box" not in out, "ezdxf drawing imports without messages: " + out[:300])
got = parse_curves(out)
check(len(got) == 2, "ezdxf drawing: two curves")
for g, s in zip(got, shapes):
    check(len(g) == len(s) and all(math.isclose(a, b * 1000, abs_tol=0.01) for p, q in zip(g, s)
                                   for a, b in zip(p, q)), "ezdxf curve points in mm")
check("文字 1 個" in out, "ezdxf drawing: the text is counted")

# GIS-style: LWPOLYLINEs with elevation on named layers, a version with UTF-8 texts.
gis = ezdxf.new("R2010")
msp = gis.modelspace()
rings = []
for k in range(12):
    h = 100.0 + 5 * k
    pts = [(1000 + 10 * k * math.cos(a / 8 * 2 * math.pi), 2000 + 10 * k * math.sin(a / 8 * 2 * math.pi))
           for a in range(9)]
    gis.layers.add("等高線_%d" % k)
    msp.add_lwpolyline(pts, dxfattribs={"elevation": h, "layer": "等高線_%d" % k})
    rings.append((h, pts))
msp.add_circle((0, 0), 5)  # not a contour: skipped and counted
gis.saveas("gis.dxf")
out = run_journal("set InUnit 1\nimport dxf gis.dxf\ndump curves\ndump messages\n")
check("box" not in out, "GIS drawing imports without messages")
got = parse_curves(out)
check(len(got) == len(rings), "GIS drawing: every LWPOLYLINE")
for g, (h, pts) in zip(got, rings):
    check(len(g) == len(pts), "GIS ring point count")
    check(all(math.isclose(p[2], h * 1000, abs_tol=0.01) for p in g), "GIS elevation as height")
    check(all(math.isclose(p[0], q[0] * 1000, rel_tol=1e-6, abs_tol=0.5) for p, q in zip(g, pts)), "GIS x")
check("読み飛ばした図形 1 個" in out, "GIS drawing: the circle is reported as skipped")

# Round trip through ezdxf: what ezdxf writes back of our export imports to the same curves.
doc = ezdxf.readfile("plan.dxf")
doc.saveas("plan_ezdxf.dxf")
out = run_journal("set InUnit 1\nimport dxf plan_ezdxf.dxf\ndump curves\n")
back = [c for c in parse_curves(out) if c]  # the mesh is not a contour: it leaves an empty curve
check(len(back) == len(contours) and all(
    len(a) == len(b) and all(math.isclose(x, y, abs_tol=0.01) for p, q in zip(a, b) for x, y in zip(p, q))
    for a, b in zip(back, contours)), "contours survive a round trip through ezdxf")

if failures:
    raise SystemExit("%d check(s) failed" % len(failures))
print("all reader checks passed")
