#!/usr/bin/env bash
# package_test.sh CPACK BUILD_DIR WORK_DIR SHARED_DIR: makes the Debian package of the programs
# built in BUILD_DIR (cpack, no second build), unpacks it into a scratch root and checks that the
# programs run from there and print the package's version, that a DEM is made from the shared
# contours by the packaged altimetra-cli and by the packaged tiling script, that the desktop files,
# QGIS provider and manual pages are in it, that the manual pages name every option, method and
# exit status the programs know, and that lintian finds no error.
set -euo pipefail
cpack=$1 build=$2 work=$3 shared=$4
fail() { echo "package.deb: $*" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

(cd "$build" && "$cpack" -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} packages"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
[ "$(basename "$deb")" = "altimetra_${version}_amd64.deb" ] || fail "package named $(basename "$deb")"
root="$work/root"
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin"

# The programs run from the unpacked tree and carry the package's version.
[ "$("$bin/altimetra-cli" --version)" = "altimetra-cli $version" ] || fail "altimetra-cli --version: $("$bin/altimetra-cli" --version)"
if [ -e "$bin/altimetra" ]; then
  [ "$(env -u DISPLAY "$bin/altimetra" --version)" = "altimetra $version" ] || fail "altimetra --version"
fi
contours="$shared/bench/real/ecuador-contours-50.gpkg"
"$bin/altimetra-cli" dem "$contours" -o "$work/dem.tif" --interval 20 --quiet || fail "the packaged dem failed"
"$build/cli/altimetra-cli" dem "$contours" -o "$work/dem-build.tif" --interval 20 --quiet
cmp -s "$work/dem.tif" "$work/dem-build.tif" || fail "the packaged dem differs from the build's"
if command -v parallel >/dev/null; then
  PATH="$bin:$PATH" altimetra-dem-parallel "$contours" -o "$work/tiles.vrt" --interval 20 --tile-size 100 -j 2 --quiet \
    || fail "the packaged altimetra-dem-parallel failed"
  [ -f "$work/tiles.vrt" ] && [ -f "$work/tiles_0_0.tif" ] || fail "altimetra-dem-parallel wrote no mosaic"
fi

# What the desktop, QGIS and man need.
share="$root/usr/share"
for f in applications/orvane-altimetra.desktop mime/packages/orvane-altimetra.xml \
         icons/hicolor/scalable/apps/orvane-altimetra.svg doc/altimetra/copyright doc/altimetra/changelog.gz \
         man/man1/altimetra.1.gz man/man1/altimetra-cli.1.gz man/man1/altimetra-dem-parallel.1.gz \
         man/man1/altimetra-dem-slurm.1.gz altimetra/qgis/altimetra/metadata.txt \
         altimetra/qgis/altimetra/provider.py qgis/python/plugins/altimetra/algorithms.py; do
  [ -e "$share/$f" ] || fail "not in the package: /usr/share/$f"
done
[ -x "$bin/altimetra-dem-parallel" ] && [ -x "$bin/altimetra-dem-slurm" ] || fail "tiling scripts missing"
[ -z "$(find "$root" -name __pycache__ -o -name '*.pyc')" ] || fail "Python bytecode in the package"
meta="$share/altimetra/qgis/altimetra/metadata.txt"
grep -qx "version=$version" "$meta" || fail "the plugin's metadata does not carry $version"
grep -qx "hasProcessingProvider=yes" "$meta" || fail "the plugin does not declare its provider"

# The manual pages: no formatting warning, and every option, method and exit status is in them.
page() { LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -E UTF-8 -l "$share/man/man1/$1.1.gz" 2>"$work/$1.warn" | col -b; }
page altimetra-cli >"$work/altimetra-cli.txt"
page altimetra >"$work/altimetra.txt"
for w in "$work"/*.warn; do [ ! -s "$w" ] || fail "$(basename "$w" .warn)(1): $(cat "$w")"; done
cli_help=$("$bin/altimetra-cli" --help; "$bin/altimetra-cli" dem --help)
for opt in $(printf '%s\n' "$cli_help" | grep -oE '(^|[ [])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z-]+' | sort -u); do
  grep -qF -- "$opt" "$work/altimetra-cli.txt" || fail "altimetra-cli(1) does not name $opt"
done
for m in $("$bin/altimetra-cli" dem --list-methods | cut -f1); do
  grep -qw -- "$m" "$work/altimetra-cli.txt" || fail "altimetra-cli(1) does not name the method $m"
done
statuses=$(printf '%s\n' "$cli_help" | sed -n '/^Exit status: 0 written/,$p' | grep -oE '(: |; )[0-9]+ ' | grep -oE '[0-9]+')
section=$(sed -n '/^EXIT STATUS/,/^   run/p' "$work/altimetra-cli.txt")
for s in $statuses; do
  printf '%s\n' "$section" | grep -qE "^ +$s +[A-Z-]" || fail "altimetra-cli(1) does not explain exit status $s"
done
if [ -e "$bin/altimetra" ]; then
  for opt in $(env -u DISPLAY "$bin/altimetra" --help 2>&1 | grep -oE -- '--[a-z-]+' | sort -u); do
    grep -qF -- "$opt" "$work/altimetra.txt" || fail "altimetra(1) does not name $opt"
  done
fi

command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps)"
lintian --fail-on error "$deb" 2>/dev/null || fail "lintian reports errors"
echo "package.deb: $(basename "$deb") ok"
