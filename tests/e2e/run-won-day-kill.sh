#!/usr/bin/env bash
# A new player's story day 1 won (first script: by Skip level and Buy, or by
# play), its board up, and the game killed there with kill -9 before Next.
# The next start (second script: Story, then back to the menu and quit)
# goes on past the day as Next would have. Passes when the first start was
# killed on day 1's board, the second showed day 2's page once before its
# goals, and the profile then holds the mana wanted (the skip charged once,
# the missions and the board's reward paid once) and best day 2.
#   run-won-day-kill.sh <game> <profile seed> <first script> <second script> <mana> [<capture-check>]
set -u
if [ $# -lt 5 ] || [ $# -gt 6 ]; then
    echo "usage: $0 <game> <profile seed> <first script> <second script> <mana> [<capture-check>]" >&2
    exit 2
fi
game=$1 seed=$2 first=$3 second=$4 mana=$5 capture=${6:-}
. "$(dirname "$0")/e2e-lib.sh"

# The first start as play starts it, but in the background: it is killed
# once its log shows the board.
sed "s|@FRAMES@|$frames|g" "$first" >"$work/first.script"
env -u ENGINE_WINDOWED -u ENGINE_EXIT_AFTER_FRAMES -u TESMORA_SERVER_URL -u TESMORA_SAVE_WORLD_AT_EXIT \
    HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ENGINE_RENDERER=software ENGINE_FIXED_STEP=1 ENGINE_LANGUAGE=en \
    ENGINE_INPUT_SCRIPT="$work/first.script" "$game" >"$work/first.log" 2>&1 &
pid=$!
trap 'kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
board="day-cleared board: Day 1 complete"
for _ in $(seq 4000); do
    grep -q "$board" "$work/first.log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -9 "$pid" 2>/dev/null
wait "$pid"
status=$?
echo "first start: exit status $status"
[ "$status" -eq 137 ] || fail "the first start was not killed (exit status $status)"
grep -q "$board" "$work/first.log" || fail "day 1's board did not show"
grep -q "ends as its scene goes" "$work/first.log" && fail "the first start left the day before its kill"
# A capture of the purchase still up: its picture, 32 x 32 sheet pixels at
# (7, 75) on the panel drawn 3.125 times over at the frame's centre.
if [ -n "$capture" ]; then
    "$capture" "$frames/skip-box-up.png" 136 177 96 96 15 || fail "the purchase was not up after the double click"
fi

play again "$second"
log=$work/again.log
expect_scenes "$log" "GUIIntro MainMenu GameLayer MainMenu"
grep -q "its won day 1 goes on at this start" "$log" || fail "the next start did not go on from the won day"
grep -q "loadDay: loaded Day2" "$log" || fail "the next start did not open day 2"
order=$(grep -o "in-game message: page StoryReminderIntro1\|today's goals: Grow a flower" "$log" | tr '\n' '|')
[ "$order" = "in-game message: page StoryReminderIntro1|today's goals: Grow a flower|" ] ||
    fail "not day 2's page once, then its goals: $order"
XDG_DATA_HOME="$work/data" HOME="$work/home" "$seed" --expect mana="$mana" best0=2 || fail "the profile after the next start"
finish "won day kill run passed; captures in $frames" "$work/first.log" "$log"
