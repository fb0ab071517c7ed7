#!/usr/bin/env bash
# The committed pictures of the program's own windows must be what
# tools/pictures/make_pictures.sh makes from the windows as they are now.
set -u
build=$1
source=$2
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$source/tools/pictures/make_pictures.sh" "$build" "$fresh/pictures" "$fresh/docs" >/dev/null 2>&1 ||
    { echo "make_pictures.sh failed"; exit 1; }
status=0
for picture in comn bupict modb_pict; do
    "$build/vk41-pictures" compare "$source/resources/pictures/$picture.png" "$fresh/pictures/$picture.png" || status=1
done
for screenshot in scheme-demonstration modbus-window; do
    "$build/vk41-pictures" compare "$source/docs/$screenshot.png" "$fresh/docs/$screenshot.png" || status=1
done
[ $status = 0 ] || echo "Pictures are out of date: run tools/pictures/make_pictures.sh (make pictures) and commit them."
exit $status
