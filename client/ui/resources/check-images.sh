#!/usr/bin/env bash
# Fails when the client's code names an image that images.qrc does not carry.
#
#   check-images.sh [SOURCE_DIR]   (default: the client/ folder around this script)
#
# Looks for resource paths (":/resources/...", ":/title_button/...",
# ":/MainWindow/...") in C++ sources, headers, forms and style sheets outside
# this folder, and for
# each qrc entry also checks that its file exists. Paths built at run time
# (with "%1") and folder prefixes are only listed: the qrc is checked to carry
# at least one file in that folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
qrc=${KESTROVA_IMAGES_QRC:-$here/images.qrc}
client=${1:-$(dirname "$(dirname "$here")")}
qrcdir=$(dirname "$qrc")

[ -f "$qrc" ] || { echo "check-images: no $qrc" >&2; exit 2; }
[ -d "$client" ] || { echo "check-images: no folder $client" >&2; exit 2; }

# Resource paths the qrc provides: prefix + (alias or file), one per line.
provided=$(awk '
    match($0, /<qresource[^>]*prefix="[^"]*"/) {
        p = substr($0, RSTART, RLENGTH); sub(/.*prefix="/, "", p); sub(/"$/, "", p)
        sub(/\/$/, "", p); prefix = p
    }
    /<file[ >]/ {
        line = $0; name = line
        sub(/.*<file[^>]*>/, "", name); sub(/<\/file>.*/, "", name)
        alias = ""
        if (match(line, /alias="[^"]*"/)) { alias = substr(line, RSTART + 7, RLENGTH - 8) }
        print ":" prefix "/" (alias != "" ? alias : name) "\t" name
    }' "$qrc")

status=0
while IFS=$'\t' read -r path file; do
    if [ ! -f "$qrcdir/$file" ]; then
        echo "check-images: $path: file $file is missing from $(basename "$qrcdir")/" >&2
        status=1
    fi
done <<<"$provided"
paths=$(cut -f1 <<<"$provided" | sort -u)

# This folder's own tests name images on purpose and are left out.
refs=$(find "$client" -path "$here" -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.ui' -o -name '*.qss' \) -print0 |
    xargs -0 -r grep -hoE ':/(resources|title_button|MainWindow)/[A-Za-z0-9_./@%+-]*[A-Za-z0-9_]' | sort -u || true)

count=0
while read -r ref; do
    [ -n "$ref" ] || continue
    count=$((count + 1))
    if [[ $ref == *%* ]]; then
        folder=${ref%/*}/
        if grep -qF -- "$folder" <<<"$paths"; then
            echo "pattern  $ref"
        else
            echo "check-images: $ref: images.qrc has nothing under $folder" >&2
            status=1
        fi
    elif grep -qxF -- "$ref" <<<"$paths"; then
        echo "ok       $ref"
    elif grep -qF -- "${ref%/}/" <<<"$paths"; then
        echo "folder   $ref" # a prefix the code completes with a name
    else
        echo "check-images: $ref is named in the code but missing from images.qrc" >&2
        status=1
    fi
done <<<"$refs"

echo "check-images: $count image paths in the code, $(wc -l <<<"$paths") in images.qrc"
exit $status
