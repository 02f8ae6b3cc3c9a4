#!/usr/bin/env bash
# Plays the palette script (palette-purchase.script) on the real game,
# keeping its captures in $TESMORA_TEST_FRAMES when that is set. Passes when
# the game exits 0 through the expected scenes, the purchase popup's picture
# shows in its capture, the purchase went through and no picture was missing.
#   run-palette-game.sh <game> <capture-check> <script> <scene>...
set -u
if [ $# -lt 4 ]; then
    echo "usage: $0 <game> <capture-check> <script> <scene>..." >&2
    exit 2
fi
game=$1 check=$2 script=$3
shift 3
expected="$*"
. "$(dirname "$0")/e2e-lib.sh"

play game "$script" TESMORA_SERVER_URL="http://127.0.0.1:9"
log=$work/game.log
expect_scenes "$log" "$expected"
for f in palette-powders palette-fire purchase-popup after-purchase bass-purchase-popup; do
    [ -s "$frames/$f.png" ] || fail "no capture $f.png"
done
# The popup's picture: 32 x 32 sheet pixels at (7, 75) on the panel, which is
# drawn 3.125 times over at the frame's centre: screen (134, 175), 100 x 100.
"$check" "$frames/purchase-popup.png" 136 177 96 96 15 || fail "the purchase popup shows no picture"
# The same spot on the bare panel after the purchase holds none.
"$check" "$frames/after-purchase.png" 136 177 96 96 15 && fail "the popup is still up after Buy"
# A double click on Bass: its purchase still up, not bought through its Buy.
"$check" "$frames/bass-purchase-popup.png" 136 177 96 96 15 || fail "a double click on Bass left no purchase up"
grep -q "Bad file name" "$log" && fail "a picture was missing: $(grep -m1 'Bad file name' "$log")"
finish "palette run passed; captures in $frames" "$log"
