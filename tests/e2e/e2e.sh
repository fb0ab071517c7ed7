#!/usr/bin/env bash
# The real program on a real (virtual) X display, driven like a person with
# xdotool: "Имитация", RUN, a few seconds of the demonstration in real time,
# "ModBus", the hexadecimal option; screenshots checked at known places.
# Exits 77 (skipped) only where no X server can be started.
set -u
# xdotool matches the Cyrillic window titles only in a UTF-8 locale, and a
# fresh system or a minimal container may set none; C.UTF-8 comes with libc.
export LC_ALL=C.UTF-8
unset LANGUAGE
build=$1
checkCpu=${2:-cpu}  # "nocpu" in a sanitizer build, which is slower by design
work=$(mktemp -d)
trap 'kill $demo $xvfb 2>/dev/null; rm -rf "$work"' EXIT
demo=0
xvfb=0

for tool in Xvfb xdotool; do
    command -v $tool >/dev/null || { echo "SKIPPED: $tool is not installed (make deps installs it)"; exit 77; }
done
display=:$((90 + RANDOM % 500))
Xvfb $display -screen 0 1600x1200x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null 2>&1 || { echo "SKIPPED: no X server could be started"; exit 77; }
export QT_QPA_PLATFORM=xcb
# On a real display the system's D-Bus and X libraries keep memory to the
# end; the rest of the suite checks the program's own memory for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

fail() { echo "FAIL: $*"; cp "$work"/*.png /tmp/ 2>/dev/null; exit 1; }
probe="$build/vk41-e2e-probe"
# The client origin of a window, and a click at a point of its client area.
origin() { xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}'; }
click_at() { # window-id x y
    read -r ox oy < <(origin "$1")
    xdotool mousemove $((ox + $2)) $((oy + $3)) click 1
}
menu_click() { # window-id "items" index
    read -r mx my bar < <("$probe" menu "$2" "$3")
    click_at "$1" "$mx" "$my"
    echo "$bar"
}
pixel() { "$probe" pixel "$work/screen.png" "$1" "$2"; }
# The id of the window with that title, waiting up to 30 s; each second the
# given command (a click that should open it) is tried again.
wait_window() { # title [command...]
    local title=$1 id=""
    shift
    for _ in $(seq 30); do
        id=$(xdotool search --name "$title" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        [ $# -gt 0 ] && "$@" >/dev/null
        sleep 1
    done
    return 1
}

"$build/vk41-demo" >"$work/demo.log" 2>&1 &
demo=$!
texttt=$(wait_window "ВОДОПОДГОТОВКА техническое решение") || fail "the description window did not appear"
sleep 1
read -r _ _ bar < <("$probe" menu "Деморежим" 0)
scheme=$(wait_window "Схема установки" menu_click "$texttt" "Назначение|Описание|Имитация|Оборудование" 2) ||
    fail "Имитация did not open the scheme window"
xdotool windowraise "$scheme"
sleep 1
# RUN: the button Vis(0) at (360, 12000) twips, 41 pixels square.
click_at "$scheme" $((24 + 20)) $((bar + 800 + 20))
sleep 1
# CPU time of the program while the demonstration runs, in clock ticks.
cpu() { awk '{print $14 + $15}' /proc/$demo/stat; }
before=$(cpu)
sleep 4
used=$(( $(cpu) - before ))
hz=$(getconf CLK_TCK)
echo "CPU while the demonstration runs: $used ticks of $((4 * hz)) ($(( 100 * used / (4 * hz) ))%)"
if [ "$checkCpu" = cpu ]; then
    [ $((100 * used)) -le $((4 * hz * 2)) ] || fail "the program used more than 2% of a core"
fi
read -r sx sy < <(origin "$scheme")
# A slow machine may need a moment more: each check looks again, up to 10 s.
eventually() { # check-function [retry-command...]
    local check=$1 problem=""
    shift
    for _ in $(seq 10); do
        problem=$($check)
        [ -z "$problem" ] && return 0
        [ $# -gt 0 ] && "$@"
        sleep 1
    done
    fail "$problem"
}
scheme_ok() {
    "$probe" grab "$work/screen.png" || { echo "no screenshot"; return; }
    local comments face
    # The comment box (10200, 0) shows the tour on a settled background.
    comments=$(pixel $((sx + 680 + 200)) $((sy + bar + 200)))
    [ "$comments" = "#FFFFFF" ] || [ "$comments" = "#EFEFEF" ] || { echo "comment box is $comments"; return; }
    # The controller's face is light yellow.
    face=$(pixel $((sx + 100)) $((sy + bar + 150)))
    [ "$face" = "#FFFFC0" ] || echo "controller face is $face"
}
eventually scheme_ok

modbus=$(wait_window "Обмен по протоколу ModBus RTU" menu_click "$scheme" "Деморежим|Блок Условий|ModBus" 2) ||
    fail "ModBus did not open the Modbus window"
xdotool windowraise "$modbus"
sleep 1
# The hexadecimal option in the frame "Система счисления" (this window has no menu bar).
hex_click() { click_at "$modbus" $((320 + 8 + 10)) $((136 + 32 + 12)); }
hex_click
read -r mx my < <(origin "$modbus")
modbus_ok() {
    "$probe" grab "$work/screen.png" || { echo "no screenshot"; return; }
    local cell c dark=0 wide=0 dx
    # The request's first cell Q(0): white, with the address drawn in it.
    cell=$(pixel $((mx + 16 + 16 + 2)) $((my + 288 + 32 + 2)))
    [ "$cell" = "#FFFFFF" ] || { echo "request cell is $cell"; return; }
    for dx in $(seq 4 20); do
        c=$(pixel $((mx + 16 + 16 + dx)) $((my + 288 + 32 + 9)))
        [ "$c" != "#FFFFFF" ] && dark=1
    done
    [ $dark = 1 ] || { echo "no text in the request cell"; return; }
    # In hexadecimal the address 127 reads 7F: two characters, narrower than "127".
    for dx in 18 19 20 21; do
        c=$(pixel $((mx + 16 + 16 + dx)) $((my + 288 + 32 + 9)))
        [ "$c" != "#FFFFFF" ] && wide=1
    done
    [ $wide = 0 ] || echo "the request cell still shows three digits"
}
eventually modbus_ok hex_click
kill -0 $demo 2>/dev/null || fail "the program ended"
echo "PASS"
