#!/usr/bin/env bash
# Validates the dialog's AppStream metainfo, checks that it launches the
# desktop entry beside it, and that the build drew the icon it names as PNG
# files of 16 to 256 pixels from the SVG. Skips (77) without appstreamcli.
# Usage: metainfo_test.sh METAINFO ENTRY BUILT_ICONS_DIR
set -euo pipefail
metainfo=$1
entry=$2
icons=$3
if ! command -v appstreamcli >/dev/null; then
  echo "appstreamcli is not installed (appstream); not checked"
  exit 77
fi
appstreamcli validate --no-net "$metainfo"
launched=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
if [ "$launched" != "$(basename "$entry")" ]; then
  echo "the metainfo launches \"$launched\", the entry is $(basename "$entry")" >&2
  exit 1
fi
icon=$(sed -n 's:.*<icon type="stock">\(.*\)</icon>.*:\1:p' "$metainfo")
for size in 16 32 48 64 128 256; do
  png="$icons/hicolor/${size}x${size}/apps/$icon.png"
  if ! file "$png" | grep -q "PNG image data, $size x $size"; then
    echo "no $size x $size PNG icon at $png: $(file "$png")" >&2
    exit 1
  fi
done
echo "valid, launching $launched, with the icon $icon in every size"
