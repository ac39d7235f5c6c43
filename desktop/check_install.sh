#!/bin/sh
# check_install.sh CMAKE BUILD_DIR WORK_DIR: installs the desktop component under WORK_DIR and
# validates the menu entry, the icon and the MIME type the way a desktop would read them.
set -eu
cmake=$1 build=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
DESTDIR="$work" "$cmake" --install "$build" --prefix /usr --component desktop >/dev/null
share="$work/usr/share"
fail() { echo "desktop.install: $*" >&2; exit 1; }

desk="$share/applications/orvane-altimetra.desktop"
icon="$share/icons/hicolor/scalable/apps/orvane-altimetra.svg"
mime="$share/mime/packages/orvane-altimetra.xml"
for f in "$desk" "$icon" "$mime"; do [ -f "$f" ] || fail "not installed: ${f#$work}"; done

desktop-file-validate "$desk" || fail "the .desktop entry does not validate"
grep -q '^Exec=altimetra %f$' "$desk" || fail "the entry does not pass the file to open"
grep -q '^MimeType=application/x-orvane-scn;$' "$desk" || fail "the entry does not open scene files"
grep -q '^Icon=orvane-altimetra$' "$desk" || fail "the entry names another icon"

if command -v xmllint >/dev/null; then
  xmllint --noout "$icon" "$mime" || fail "icon or MIME type is not well-formed XML"
fi

# The MIME database built from the package knows the glob, the magic and the icon.
XDG_DATA_DIRS="$share" update-mime-database "$share/mime" 2>"$work/mime.err" || fail "update-mime-database: $(cat "$work/mime.err")"
[ ! -s "$work/mime.err" ] || fail "update-mime-database warned: $(cat "$work/mime.err")"
grep -q 'application/x-orvane-scn:\*\.scn$' "$share/mime/globs2" || fail "no *.scn glob"
grep -q '^application/x-orvane-scn:orvane-altimetra$' "$share/mime/generic-icons" || fail "no icon for scene files"
grep -q 'Orvane|Altimetra' "$share/mime/magic" || fail "no magic for scene files"
echo "desktop.install: ok"
