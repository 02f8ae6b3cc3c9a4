#!/usr/bin/env bash
# Two starts of the real game with no server configured, in one fresh home:
# the first names the player once and goes to the menu with no bar and no
# error, then names, describes, saves and loads back a world, and quits from
# the main menu; the second goes straight to the menu and quits; the third
# saves a new world under the same name with Return pressed twice. Software
# renderer, dummy video and audio, fixed step. The captures go to
# TESMORA_TEST_FRAMES when it is set.
#   run-offline-worlds.sh <game> <world-check> <first script> <second script>
set -u
if [ $# -ne 4 ]; then
    echo "usage: $0 <game> <world-check> <first script> <second script>" >&2
    exit 2
fi
game=$1 check=$2 first=$3 second=$4

. "$(dirname "$0")/e2e-lib.sh"

play first "$first" TESMORA_SAVE_WORLD_AT_EXIT="$work/first.sav"
log=$work/first.log
got=$(scenes "$log")
echo "first start scenes: $got"
[ "$got" = "GUIIntro GUINameInput MainMenu GameLayer GUISaveLoad GameLayer MainMenu" ] ||
    fail "first start: scenes were '$got'"
# Up to the game: no request, no progress bar, no popup.
upToGame=$(sed '/scene GameLayer/q' "$log")
for unwanted in "create player" "GUIPopup: enter" "GUIProgressBar" "NetError" "connection"; do
    if grep -qi "$unwanted" <<<"$upToGame"; then
        fail "first start: '$unwanted' before the game"
    fi
done
grep -q "no server configured: the name is kept" "$log" || fail "first start: the name was not kept offline"
grep -q "saved world listed as 1 - Beach 2" "$log" || fail "first start: the list did not show '1 - Beach 2'"
grep -q "quit from the main menu" "$log" || fail "first start: did not quit from the main menu"
[ -f "$work/data/ORVANE/TesmOra/cloud/user/beach_2.sav" ] || fail "first start: no saved world beach_2.sav"
if [ -f "$work/first.sav" ]; then
    "$check" --texts "$work/first.sav" "Beach 2" "Sand and sea" || fail "first start: the loaded world's texts"
else
    fail "first start: no world at exit"
fi

play second "$second"
got=$(scenes "$work/second.log")
echo "second start scenes: $got"
[ "$got" = "GUIIntro MainMenu" ] || fail "second start: scenes were '$got', expected 'GUIIntro MainMenu'"
popups=$(grep -c "GUIPopup: enter" "$work/second.log")
[ "$popups" -eq 1 ] || fail "second start: $popups popups, expected the quit question alone"
grep -q "quit from the main menu" "$work/second.log" || fail "second start: did not quit from the main menu"

# A third start: Free mode again, and Save on a new world named as the saved
# one, Return pressed twice on the name, 3 frames apart (then Cancel) and
# 12 frames apart (then OK). The second Return never answers the question
# the first opened, and Return alone never overwrites; OK does.
third=$work/third-start.script
printf '%s\n' "220 click 565 340" "400 click 540 30" \
    "440 click 45 147" "480 text Hills" "490 key Return" \
    "530 click 334 291" "570 text Beach 2" "580 key Return" "583 key Return" \
    "620 capture @FRAMES@/overwrite-asked-3.png" "640 click 306 467" \
    "700 click 334 378" "760 click 555 467" "800 click 540 30" \
    "840 click 45 147" "880 text Hills 2" "890 key Return" \
    "930 click 334 291" "970 text Beach 2" "980 key Return" "992 key Return" \
    "1030 capture @FRAMES@/overwrite-asked-12.png" "1040 click 555 467" "1100 click 555 467" \
    "1160 quit" >"$third"
play third "$third"
# One save: OK's. Neither second Return, nor Return on the question, wrote.
saves=$(grep -ci "world saved: .*beach_2.sav" "$work/third.log")
[ "$saves" -eq 1 ] || fail "third start: the saved world was written $saves times, expected once (OK)"
"$check" --texts "$work/data/ORVANE/TesmOra/cloud/user/beach_2.sav" "Beach 2" "Hills 2" ||
    fail "OK on the overwrite question did not replace the saved world"

finish "offline starts passed" "$work/first.log" "$work/second.log" "$work/third.log"
