#!/usr/bin/env bash
# scripts/dem-parallel for real: the benchmark contours in tiles through GNU parallel (two at once,
# and through parallel's host list naming this machine), the mosaic read by gdalinfo and compared
# post by post with the whole grid, a restart after a lost tile, and a failing input.
#   dem_parallel_test.sh ALTIMETRA_CLI SHARED_DIR WORK_DIR
set -uo pipefail
cli="$1"; shared="$2"; work="$3"
# The program by an absolute path: the test works in its own folder.
case "$cli" in */*) cli="$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")" ;; esac
here="$(cd "$(dirname "$0")" && pwd)"
src="$here/../.."
fail() { echo "FAIL: $*"; exit 1; }
command -v parallel >/dev/null || fail "GNU parallel is not installed (scripts/install-deps)"
[ -r "$shared/bench/synth-contours.txt" ] || { echo "SKIP: no benchmark data in $shared"; exit 77; }
rm -rf "$work"; mkdir -p "$work/out dir" || exit 1
cd "$work" || exit 1
awk -v DX=500000 -v DY=4000000 -f "$src/bench/synth_to_csv.awk" "$shared/bench/synth-contours.txt" > synth.csv
ogr2ogr -f GPKG synth.gpkg synth.csv -oo GEOM_POSSIBLE_NAMES=WKT -oo KEEP_GEOM_COLUMNS=NO \
  -oo AUTODETECT_TYPE=YES -a_srs EPSG:32654 -nln contours -nlt LINESTRING || fail "ogr2ogr"
export ALTIMETRA_CLI="$cli"
common=(synth.gpkg --interval 100 --field elev --region 500000 4000000 504000 4003000)
tiled=(--tile-size 21x16 --overlap 60)
# A folder with a blank in its name: the words must reach each tile as they are.
vrt="out dir/m.vrt"

"$src/scripts/dem-parallel" "${common[@]}" -o "$vrt" "${tiled[@]}" -j 2 2> par.err
rc=$?
[ $rc -eq 0 ] || { cat par.err; fail "dem-parallel exit status $rc"; }
grep -q "4 of 4, about 0 s left" par.err || { cat par.err; fail "no progress line for the last tile"; }
[ "$(ls "out dir"/m_*_*.tif | wc -l)" -eq 4 ] || fail "not 4 tiles"

info="$(gdalinfo "$vrt")" || fail "gdalinfo cannot open the mosaic"
grep -q "^Size is 41, 31" <<< "$info" || fail "mosaic size: $info"
grep -q "Origin = (499950.000000000000000,4003050.000000000000000)" <<< "$info" || fail "mosaic origin: $info"
grep -q "Pixel Size = (100.000000000000000,-100.000000000000000)" <<< "$info" || fail "pixel size"
grep -q "NoData Value=-9999" <<< "$info" || fail "nodata"
grep -q "UTM zone 54N" <<< "$info" || fail "CRS"

# The overlap covers the region: the heights of the whole grid, post for post.
"$cli" dem "${common[@]}" -o whole.tif --quiet || fail "whole dem"
gdal_translate -q -of XYZ "$vrt" par.xyz && gdal_translate -q -of XYZ whole.tif whole.xyz ||
  fail "gdal_translate"
cmp -s par.xyz whole.xyz || fail "the mosaic differs from the whole grid"

# Restart after a lost tile: only that tile is made again; the host list reaches parallel.
touch -d "2001-01-01" "out dir/m_0_0.tif"
rm "out dir/m_1_1.tif" "$vrt"
"$src/scripts/dem-parallel" "${common[@]}" -o "$vrt" "${tiled[@]}" -S 1/: --quiet 2> again.err ||
  { cat again.err; fail "restart"; }
[ -s again.err ] && { cat again.err; fail "--quiet printed"; }
[ "$(stat -c %Y "out dir/m_0_0.tif")" = "$(date -d 2001-01-01 +%s)" ] || fail "a complete tile was made again"
[ -f "out dir/m_1_1.tif" ] || fail "the lost tile was not made again"
gdal_translate -q -of XYZ "$vrt" again.xyz && cmp -s par.xyz again.xyz || fail "restart changed the heights"

# A bad input: the status of altimetra-cli, no mosaic.
"$src/scripts/dem-parallel" missing.gpkg --interval 100 -o bad.vrt --tile-size 15 -j 2 2> bad.err
rc=$?
[ $rc -eq 3 ] || { cat bad.err; fail "bad input gave status $rc, not 3"; }
[ ! -e bad.vrt ] || fail "a mosaic of a bad input"
echo "dem-parallel: tiles, mosaic, restart and failure as expected"
