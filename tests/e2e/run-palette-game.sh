#!/usr/bin/env bash
# Plays the palette script (palette-purchase.script) on the real game as
# run-scripted-game.sh does, keeping its captures in $TESMORA_TEST_FRAMES when
# that is set. Passes when the game exits 0 through the expected scenes, the
# purchase popup's picture shows in its capture, the purchase went through
# and no picture was missing.
#   run-palette-game.sh <game> <capture-check> <script> <scene>...
set -u
if [ $# -lt 4 ]; then
    echo "usage: $0 <game> <capture-check> <script> <scene>..." >&2
    exit 2
fi
game=$1 check=$2 script=$3
shift 3
expected="$*"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/data" "$work/config"
frames=${TESMORA_TEST_FRAMES:-$work/frames}
mkdir -p "$frames"
sed "s|@FRAMES@|$frames|g" "$script" >"$work/script"

log=$work/game.log
env -u ENGINE_WINDOWED -u ENGINE_EXIT_AFTER_FRAMES \
    HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    ENGINE_RENDERER=software ENGINE_FIXED_STEP=1 ENGINE_LANGUAGE=en \
    ENGINE_INPUT_SCRIPT="$work/script" TESMORA_SERVER_URL="http://127.0.0.1:9" \
    timeout 400 "$game" >"$log" 2>&1
status=$?
# Far above the run's need, even for a sanitizer build on a busy machine.
[ "$status" -eq 124 ] && echo "FAIL: the game had not quit after 400 s" >&2

failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}
[ "$status" -eq 0 ] || fail "exit status $status, expected 0"
scenes=$(sed -n 's/.*input script: frame [0-9]*: scene \([A-Za-z_:]*\).*/\1/p' "$log" | tr '\n' ' ' | sed 's/ $//')
echo "scenes: $scenes"
[ "$scenes" = "$expected" ] || fail "scenes were '$scenes', expected '$expected'"
for f in palette-powders palette-fire purchase-popup after-purchase; do
    [ -s "$frames/$f.png" ] || fail "no capture $f.png"
done
# The popup's picture: 32 x 32 sheet pixels at (7, 75) on the panel, which is
# drawn 3.125 times over at the frame's centre: screen (134, 175), 100 x 100.
"$check" "$frames/purchase-popup.png" 136 177 96 96 15 || fail "the purchase popup shows no picture"
# The same spot on the bare panel after the purchase holds none.
"$check" "$frames/after-purchase.png" 136 177 96 96 15 && fail "the popup is still up after Buy"
grep -q "Bad file name" "$log" && fail "a picture was missing: $(grep -m1 'Bad file name' "$log")"

if [ "$failed" -ne 0 ]; then
    echo "--- last lines of the game's output ---" >&2
    tail -n 40 "$log" >&2
    exit 1
fi
echo "palette run passed; captures in $frames"
