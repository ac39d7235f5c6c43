#!/usr/bin/env bash
# Times of each stage of `altimetra-cli dem` (read, generate, write) on the benchmark contours as
# a GeoPackage in UTM coordinates, at 5 m (801 x 601).
#   bench/gis_bench.sh [BUILD_DIR]     (default build-rel; needs gdal-bin for ogr2ogr;
#   ALT_SHARED_DIR overrides the shared data folder beside the source tree)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
src="$here/.."
cli="${1:-$src/build-rel}/cli/altimetra-cli"
contours="${ALT_SHARED_DIR:-$src/../shared}/bench/synth-contours.txt"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

awk -v DX=500000 -v DY=4000000 -f "$here/synth_to_csv.awk" "$contours" > "$work/synth.csv"
ogr2ogr -f GPKG "$work/synth.gpkg" "$work/synth.csv" -oo GEOM_POSSIBLE_NAMES=WKT \
    -oo KEEP_GEOM_COLUMNS=NO -oo AUTODETECT_TYPE=YES -a_srs EPSG:32654 -nln contours \
    -nlt LINESTRING

for out in dem.tif dem.asc; do
    echo "== $out"
    /usr/bin/time -f "wall %e s, user %U s, sys %S s, max rss %M KB" \
        "$cli" dem "$work/synth.gpkg" -o "$work/$out" --interval 5 --field elev --times --quiet
    ls -l "$work/$out" | awk '{print "size", $5, "bytes"}'
done
gdalinfo "$work/dem.tif" | grep -E "^Size|^Origin|^Pixel Size"
