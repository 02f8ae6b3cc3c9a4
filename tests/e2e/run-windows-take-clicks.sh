#!/usr/bin/env bash
# Clicks on the popups over a paused world: New world and Load, each asked
# about (a stroke first leaves changes to lose) six times, their OK released
# in the press's frame or frames later (after the popup has gone); then a
# stroke held under the back key's question. Passes when each popup showed,
# nothing was painted under its OK after it, the held stroke stopped
# painting, and the world saved at exit holds nothing at either point.
#   run-windows-take-clicks.sh <game> <capture-check> <world-check>
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 <game> <capture-check> <world-check>" >&2
    exit 2
fi
game=$1 check=$2 world=$3
. "$(dirname "$0")/e2e-lib.sh"

# The script, one frame = 1/60 s at 800 x 600: a new player's free mode
# (name, the bar's failure, Free mode, its introduction), paused.
script=$work/windows-take-clicks.script
printf '%s\n' "145 text Ada" "150 key Return" "320 click 475 386" "400 click 565 340" \
    "525 click 620 528" "560 click 620 528" "595 click 620 528" "630 click 620 528" "665 click 620 528" \
    "735 click 372 32" >"$script"
# asked ROUTE I FRAME OFFSET RELEASE SETTLE: the popup's capture OFFSET
# frames in, OK pressed 10 frames later and released RELEASE frames after its
# press, the world's capture SETTLE frames after the press.
asked() {
    local at=$(($3 + $4))
    printf '%s\n' "$at capture @FRAMES@/$1-asked-$2.png" "$((at + 10)) down 555 468" \
        "$((at + 10 + $5)) up 555 468" "$((at + 10 + $6)) capture @FRAMES@/$1-done-$2.png" >>"$script"
}
releases=(0 1 2 4 12 30)
f=775
for i in 1 2 3 4 5 6; do
    # A stroke, the world menu, New world.
    printf '%s\n' "$f drag 700 150 760 150 10" "$((f + 30)) click 540 32" "$((f + 70)) click 335 378" >>"$script"
    asked new "$i" "$f" 110 "${releases[i - 1]}" 80
    f=$((f + 240))
done
# A stroke, and the world named Alpha and saved: the world the loads bring back.
printf '%s\n' "$f drag 700 150 760 150 10" "$((f + 30)) click 540 32" "$((f + 70)) click 80 103" \
    "$((f + 110)) text Alpha" "$((f + 120)) key Return" "$((f + 160)) click 335 291" "$((f + 200)) click 555 468" \
    "$((f + 240)) click 540 32" >>"$script"
f=$((f + 300))
for i in 1 2 3 4 5 6; do
    # A stroke, the world menu, Load, the saved world, its Load.
    printf '%s\n' "$f drag 700 150 760 150 10" "$((f + 30)) click 540 32" "$((f + 70)) click 335 334" \
        "$((f + 130)) click 400 200" "$((f + 170)) click 708 558" >>"$script"
    asked load "$i" "$f" 210 "${releases[i - 1]}" 100
    f=$((f + 360))
done
# The world running, a press held on it and the back key's question over the
# stroke; Escape answers it, and nothing may go on painting.
printf '%s\n' "$f click 372 32" "$((f + 20)) down 300 200" "$((f + 30)) key Escape" \
    "$((f + 50)) capture @FRAMES@/back-asked.png" "$((f + 60)) up 300 200" "$((f + 80)) key Escape" \
    "$((f + 400)) quit" >>"$script"

port=$(closed_port) || exit 1
play game "$script" TESMORA_SERVER_URL="http://127.0.0.1:$port" TESMORA_SAVE_WORLD_AT_EXIT="$work/world.sav"
for route in new load; do
    for i in 1 2 3 4 5 6; do
        # The question's text, then the 20 x 20 pixels of world under its OK.
        "$check" "$frames/$route-asked-$i.png" 215 225 300 50 5 || fail "$route $i: the popup did not ask"
        "$check" "$frames/$route-done-$i.png" 545 458 20 20 1 && fail "$route $i: the OK's click painted the world"
    done
done
"$check" "$frames/back-asked.png" 215 225 300 50 5 || fail "the back key did not ask"
# OK's point, (555, 468) in the window, is the cell (166, 39); the held
# press's, (300, 200), the cell (90, 120), whose grains have fallen since.
"$world" --cells "$work/world.sav" 166 39 nothing 90 120 nothing || fail "the saved world holds what a click on a popup painted"
finish "windows took their clicks; captures in $frames" "$work/game.log"
