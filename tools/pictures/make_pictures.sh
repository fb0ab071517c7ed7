#!/usr/bin/env bash
# Draws the Modbus window's pictures from the controller's memory map, and
# makes the description window's pictures and the README's screenshots from
# the program's own windows:
#   tools/pictures/make_pictures.sh [BUILD] [PICTURES] [SCREENSHOTS]
# BUILD holds vk41-script and vk41-pictures (build); the pictures go to
# PICTURES (resources/pictures), the screenshots to SCREENSHOTS (docs).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
pictures=${2:-resources/pictures}
screenshots=${3:-docs}
snapshots=$(mktemp -d)
drawn=$(mktemp -d)
trap 'rm -rf "$snapshots" "$drawn"' EXIT
mkdir -p "$pictures" "$screenshots"

# The Modbus pictures and the operator table. Only those that changed are written, so that the build
# stays up to date otherwise. The snapshots below show the pictures the build
# has compiled in: when new ones went into resources/pictures, the driver is
# rebuilt first.
"$build/vk41-pictures" modbus resources/forms/modb_frm.form "$drawn"
# The conditions block's table, printed from the factory program.
"$build/vk41-pictures" "$drawn/bl_usl_table.png"
changed=0
for picture in "$drawn"/mb_*.png "$drawn/bl_usl_table.png"; do
    name=$(basename "$picture")
    cmp -s "$picture" "$pictures/$name" || { cp "$picture" "$pictures/$name"; changed=1; }
done
if [ $changed = 1 ] && [ "$(realpath "$pictures")" = "$(realpath resources/pictures)" ]; then
    cmake --build "$build" --target vk41-script
fi

"$build/vk41-script" <<SCRIPT
# The scheme at load.
menu Texttt Имитация
snapshot Objectt $snapshots/scheme.png
# The conditions block in the filling mode, its introduction over.
menu Objectt Блок Условий
click Bl_Usl.Demo(2)
run 300
snapshot Bl_Usl $snapshots/conditions.png
# The Modbus window reading the flags with the tank full: 131 in the first byte.
menu Objectt ModBus
click ModB_Frm.Branch(1)
run 300
snapshot ModB_Frm $snapshots/modbus.png
# For the README: the scheme in the middle of the demonstration, and the
# Modbus window in hexadecimal reading the flow counter.
click Objectt.Radix(0)
click Objectt.Vis(0)
run 160000
snapshot Objectt $screenshots/scheme-demonstration.png
click ModB_Frm.Count_Length(0)
click ModB_Frm.Branch(0)
click ModB_Frm.Hex
run 300
snapshot ModB_Frm $screenshots/modbus-window.png
SCRIPT
"$build/vk41-pictures" describe "$snapshots" "$pictures"
