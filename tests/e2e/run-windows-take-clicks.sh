#!/usr/bin/env bash
# Clicks on the popups over a paused world (windows-take-clicks.script): New
# world and Load, each asked about six times, their OK released in the
# press's frame or later. Passes when each popup showed, nothing was painted
# under its OK after it, and the world saved at exit holds nothing there;
# then a stroke held under the back key's question stops painting.
#   run-windows-take-clicks.sh <game> <capture-check> <world-check> <script>
set -u
if [ $# -ne 4 ]; then
    echo "usage: $0 <game> <capture-check> <world-check> <script>" >&2
    exit 2
fi
game=$1 check=$2 world=$3 script=$4
. "$(dirname "$0")/e2e-lib.sh"

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
