#!/usr/bin/env bash
# Contour lines of a GIS file (any OGR line layer) as the contour text bench/trn_bench reads:
# millimetres from the lower-left corner of the layer's extent, the region that extent, posts every
# INTERVAL metres.
#   bench/gis_contours.sh INPUT FIELD INTERVAL_M > contours.txt
# e.g. bench/gis_contours.sh ../shared/bench/real/ecuador-contours-20.gpkg elev 10 > real20.txt
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 INPUT FIELD INTERVAL_M" >&2
  exit 2
fi
in=$1 field=$2 itv=$3
# Extent: (x0, x1) - (y0, y1)
ext=$(ogrinfo -so -al "$in" | sed -n 's/^Extent: (\([-0-9.e+]*\), \([-0-9.e+]*\)) - (\([-0-9.e+]*\), \([-0-9.e+]*\))$/\1 \2 \3 \4/p' | head -1)
if [ -z "$ext" ]; then
  echo "$0: no extent in $in" >&2
  exit 1
fi
read -r x0 y0 x1 y1 <<<"$ext"
ogr2ogr -f CSV /vsistdout/ "$in" -select "$field" -lco GEOMETRY=AS_WKT -dim XY |
  awk -F'"' -v X0="$x0" -v Y0="$y0" -v X1="$x1" -v Y1="$y1" -v ITV="$itv" -v IN="$in" '
    NR == 1 {
      printf "# %s\nregion 0 0 %.3f %.3f\ninterval %.3f\n", IN, (X1 - X0) * 1000, (Y1 - Y0) * 1000, ITV * 1000
      next
    }
    $2 ~ /^LINESTRING/ {
      w = $2; sub(/^LINESTRING *\(/, "", w); sub(/\)$/, "", w)
      n = split(w, p, ","); m = split($0, t, ","); z = t[m]
      if (n < 2 || z == "") next
      printf "curve %d %.3f\n", n, z * 1000
      for (k = 1; k <= n; k++) { split(p[k], c, " "); printf "%.3f %.3f\n", (c[1] - X0) * 1000, (c[2] - Y0) * 1000 }
    }'
