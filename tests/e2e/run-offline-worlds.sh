#!/usr/bin/env bash
# Two starts of the real game with no server configured, in one fresh home:
# the first names the player once and goes to the menu with no bar and no
# error, then names, describes, saves and loads back a world, and quits from
# the main menu; the second goes straight to the menu and quits. Software
# renderer, dummy video and audio, fixed step. The captures go to
# TESMORA_TEST_FRAMES when it is set.
#   run-offline-worlds.sh <game> <world-check> <first script> <second script>
set -u
if [ $# -ne 4 ]; then
    echo "usage: $0 <game> <world-check> <first script> <second script>" >&2
    exit 2
fi
game=$1 check=$2 first=$3 second=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/data" "$work/config" "$work/frames"
frames=${TESMORA_TEST_FRAMES:-$work/frames}
mkdir -p "$frames"

failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# Runs one start with the script; its log is $work/<name>.log. Further
# arguments are more environment for the game.
play() {
    local name=$1 script=$2
    shift 2
    sed "s|@FRAMES@|$frames|g" "$script" >"$work/$name.script"
    env -u ENGINE_WINDOWED -u ENGINE_EXIT_AFTER_FRAMES -u TESMORA_SERVER_URL -u TESMORA_SAVE_WORLD_AT_EXIT "$@" \
        HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
        SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
        ENGINE_RENDERER=software ENGINE_FIXED_STEP=1 ENGINE_LANGUAGE=en \
        ENGINE_INPUT_SCRIPT="$work/$name.script" \
        timeout 400 "$game" >"$work/$name.log" 2>&1
    local status=$?
    echo "$name start: exit status $status"
    # Far above the run's need, even for a sanitizer build on a busy machine.
    [ "$status" -eq 124 ] && echo "FAIL: $name start: the game had not quit after 400 s" >&2
    [ "$status" -eq 0 ] || fail "$name start: exit status $status, expected 0"
}

scenes() {
    sed -n 's/.*input script: frame [0-9]*: scene \([A-Za-z_:]*\).*/\1/p' "$1" | tr '\n' ' ' | sed 's/ $//'
}

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

if [ "$failed" -ne 0 ]; then
    for name in first second; do
        [ -f "$work/$name.log" ] || continue
        echo "--- last lines of the $name start ---" >&2
        tail -n 40 "$work/$name.log" >&2
    done
    exit 1
fi
echo "offline starts passed"
