#!/usr/bin/env bash
# The committed pictures of the program's own windows and the Modbus window's
# pictures must be what tools/pictures/make_pictures.sh makes from the windows
# and the memory map as they are now.
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
# The Modbus window's pictures, drawn from the memory map, and the
# conditions block's table, printed from the factory program.
for picture in "$source"/resources/pictures/mb_*.png "$source/resources/pictures/bl_usl_table.png"; do
    name=$(basename "$picture")
    "$build/vk41-pictures" compare "$picture" "$fresh/pictures/$name" || status=1
done
for screenshot in scheme-demonstration modbus-window; do
    "$build/vk41-pictures" compare "$source/docs/$screenshot.png" "$fresh/docs/$screenshot.png" || status=1
done
# The command register's picture shows the requests the window composes for
# the two commands, CRC included.
drawn=$("$build/vk41-pictures" requests "$source/resources/forms/modb_frm.form" 2>/dev/null)
composed=$(
    {
        printf 'menu Texttt Имитация\nmenu Objectt ModBus\n'
        for kind in 7 8; do
            printf 'click ModB_Frm.Count_Length(%s)\nrun 300\n' $kind
            for cell in 0 1 2 3 4 5 6 7; do printf 'get ModB_Frm.Qq(%s).Caption\n' $cell; done
        done
    } | "$build/vk41-script" 2>/dev/null | sed -n 's/^ModB_Frm\.Qq(\([0-7]\))\.Caption = "\(.*\)"$/\1 \2/p' |
        awk '{ row = row (row == "" ? "" : " ") $2 } $1 == 7 { print row; row = "" }'
)
if [ "$drawn" != "$composed" ]; then
    printf 'The command register picture shows\n%s\nthe window composes\n%s\n' "$drawn" "$composed"
    status=1
fi
[ $status = 0 ] || echo "Pictures are out of date: run tools/pictures/make_pictures.sh (make pictures) and commit them."
exit $status
