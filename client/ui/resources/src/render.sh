#!/usr/bin/env bash
# Regenerates every committed PNG and ICO of client/ui/resources from the SVG
# sources in this folder and the flags from Debian's iso-flags-png-320x240.
# Needs librsvg2-bin, imagemagick, optipng and fonts-noto-core (for the logo's
# wordmark). Run it after changing a source and commit what it writes.
set -euo pipefail
src=$(cd "$(dirname "$0")" && pwd)
out=$(dirname "$src")
flagsrc=${FLAGS_DIR:-/usr/share/iso-flags-png-320x240}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

png() { # svg, output png, [width height]
    if [ $# -gt 2 ]; then
        rsvg-convert -w "$3" -h "$4" "$1" -o "$2"
    else
        rsvg-convert "$1" -o "$2"
    fi
}

# Images the interface names as PNG (the spinner is scaled by the widget
# without smoothing, so it is rendered at the size it is shown).
png "$src/rotator-orange.svg" "$out/rotator-orange.png"
png "$src/combobox-arrow-close.svg" "$out/combobox-arrow-close.png"
png "$src/combobox-arrow-open.svg" "$out/combobox-arrow-open.png"
png "$src/bottom-line.svg" "$out/bottom-line.png"
png "$src/logo.svg" "$out/logo.png"
png "$src/logo.svg" "$out/logo@2x.png" 440 260

mkdir -p "$out/title_button"
for f in "$src"/title_button/*.svg; do
    png "$f" "$out/title_button/$(basename "${f%.svg}").png"
done

# Window and tray icon: one ICO with the usual desktop sizes.
sizes=(16 22 24 32 48 64 128)
for s in "${sizes[@]}"; do
    png "$src/mark.svg" "$tmp/mark-$s.png" "$s" "$s"
done
frames=()
for s in "${sizes[@]}"; do
    frames+=("$tmp/mark-$s.png")
done
convert "${frames[@]}" "$tmp/mark.ico"
cp "$tmp/mark.ico" "$out/vpnlogo.ico"
cp "$tmp/mark.ico" "$out/qvm.ico"
# The same mark, scalable: a window icon that does not depend on the working
# directory, and the source for the desktop entry's icon.
cp "$src/mark.svg" "$out/kestrova.svg"

# Flags: the list rows draw them into a 24 x 24 square, so each flag (the
# package draws it 268 x 188 with rounded corners inside a transparent margin
# of 26 px) is cut out, scaled to 24 x 17 and centred in a transparent 24 x 24
# canvas: nothing gets stretched.
mkdir -p "$out/flags"
rm -f "$out"/flags/*.png
flag() { # source png, code
    convert "$1" -crop 268x188+26+26 +repage -filter Lanczos -resize '24x17!' \
        -background none -gravity center -extent 24x24 -strip "PNG32:$out/flags/$2.png"
}
for f in "$flagsrc"/*.png; do
    name=$(basename "${f%.png}")
    case "$name" in
        _*) code=$(echo "${name#_}" | tr '[:lower:]' '[:upper:]' | sed 's/_PERNEFELDT//;s/UNITED_NATIONS/UN/') ;;
        *) code=$(echo "$name" | tr '[:lower:]' '[:upper:]') ;;
    esac
    flag "$f" "$code"
done
# Codes that services send in place of the ISO one.
cp "$out/flags/GB.png" "$out/flags/UK.png"
cp "$out/flags/GR.png" "$out/flags/EL.png"

optipng -quiet -o5 -strip all "$out"/*.png "$out"/title_button/*.png "$out"/flags/*.png
bash "$src/write-qrc.sh"
