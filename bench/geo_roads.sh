#!/usr/bin/env bash
# The window's road against the batch command on real UTM contours, and a drawing moved by
# national-grid offsets against the unmoved one. The contours are written as a DXF drawing at their
# real coordinates (ogr2ogr), then for every generation method:
#   window: `altimetra-cli run` of a journal doing what the window does (DXF import in metres, the
#           region in real-world metres, terrain creation, GeoTIFF export);
#   batch:  `altimetra-cli dem` of the same contours and region;
#   moved:  the window's road on the drawing moved by (DX, DY) metres, its posts moved back.
# Prints, per method, the grid sizes, the share of posts within 1 mm and the largest difference.
#   bench/geo_roads.sh [BUILD_DIR] [INPUT.gpkg] [DX DY]
# Defaults: build, ../shared/bench/real/ecuador-contours-20.gpkg (field elev, 10 m posts on the
# GeoTIFF's post extent), 512000 4012000.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build}
in=${2:-$src/../shared/bench/real/ecuador-contours-20.gpkg}
dx=${3:-512000} dy=${4:-4012000}
itv=10
cli=$build/cli/altimetra-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The layer's extent: the posts of the shared GeoTIFF (sub-millimetre corners).
read -r x0 y0 x1 y1 < <(ogrinfo -so -al "$in" |
  sed -n 's/^Extent: (\([-0-9.e+]*\), \([-0-9.e+]*\)) - (\([-0-9.e+]*\), \([-0-9.e+]*\))$/\1 \2 \3 \4/p' | head -1)
ogr2ogr -f DXF "$work/c.dxf" "$in" 2>/dev/null
# The drawing moved, exactly in decimal: x codes 10-18, y codes 20-28.
python3 - "$work/c.dxf" "$work/moved.dxf" "$dx" "$dy" <<'EOF'
import sys
from decimal import Decimal
src, dst, dx, dy = sys.argv[1], sys.argv[2], Decimal(sys.argv[3]), Decimal(sys.argv[4])
ls = open(src, newline='').read().split('\n')
for i in range(0, len(ls) - 1, 2):
    c = ls[i].strip()
    if c.isdigit() and (10 <= int(c) <= 18 or 20 <= int(c) <= 28):
        ls[i + 1] = str(Decimal(ls[i + 1].strip()) + (dx if int(c) < 20 else dy))
open(dst, 'w', newline='').write('\n'.join(ls))
EOF
window() {  # DXF X0 Y0 X1 Y1 METHOD OUT.tif
  printf 'set InUnit 1\nimport dxf %s\nset GeoRgn %s %s %s %s\nset MshItv %s\nset TrnMethod %s\ncmd 1 101042\ncmd 4 104133\nexport gtiff %s\n' \
    "$1" "$2" "$3" "$4" "$5" "$((itv * 1000))" "$6" "$7" | "$cli" run - >/dev/null
}
compare() {  # A.tif B.tif DX DY: B's posts moved back by (DX, DY)
  gdal_translate -q -of XYZ "$1" "$work/a.xyz"
  gdal_translate -q -of XYZ "$2" "$work/b.xyz"
  python3 - "$work/a.xyz" "$work/b.xyz" "$3" "$4" "$(gdalinfo "$1" | sed -n 's/^Size is //p')" \
    "$(gdalinfo "$2" | sed -n 's/^Size is //p')" <<'EOF'
import sys
def rd(p, dx=0.0, dy=0.0):
    out = {}
    for line in open(p):
        x, y, z = line.split()
        out[(round(float(x) - dx, 3), round(float(y) - dy, 3))] = float(z)
    return out
a, b = rd(sys.argv[1]), rd(sys.argv[2], float(sys.argv[3]), float(sys.argv[4]))
keys = [k for k in a if k in b]
d = [abs(a[k] - b[k]) for k in keys if a[k] != -9999 and b[k] != -9999]
miss = sum(1 for k in keys if (a[k] == -9999) != (b[k] == -9999)) + len(a) - len(keys)
print(f"sizes {sys.argv[5]} / {sys.argv[6]}, posts compared {len(d)}, unmatched {miss}, "
      f"within 1 mm {100.0 * sum(v <= 0.001 for v in d) / max(1, len(a)):.3f} %, largest {max(d, default=0):.4f} m")
EOF
}
mx0=$(python3 -c "print($x0 + $dx)") my0=$(python3 -c "print($y0 + $dy)")
mx1=$(python3 -c "print($x1 + $dx)") my1=$(python3 -c "print($y1 + $dy)")
for m in 0:cross-lines 1:min-curvature 2:gradient-paths; do
  n=${m%%:*} name=${m#*:}
  "$cli" dem "$in" -o "$work/b.tif" --field elev --interval "$itv" --region "$x0" "$y0" "$x1" "$y1" --method "$name" --quiet
  window "$work/c.dxf" "$x0" "$y0" "$x1" "$y1" "$n" "$work/w.tif"
  window "$work/moved.dxf" "$mx0" "$my0" "$mx1" "$my1" "$n" "$work/m.tif"
  echo "$name window vs batch: $(compare "$work/w.tif" "$work/b.tif" 0 0)"
  echo "$name moved vs unmoved: $(compare "$work/w.tif" "$work/m.tif" "$dx" "$dy")"
done
