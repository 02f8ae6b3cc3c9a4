#!/usr/bin/env bash
# A new player's story day 1 in the real game (story-win.script): the goals'
# hints, one bought; the goals closed by a touch beside them; the day won,
# then the menu reached without the day button; Story again. Passes when the
# game exits 0 through the expected scenes, the hint cost its price and its
# text shows, the goals closed, and the second start is day 2, whose page
# (the one the day's Next shows) comes before its goals.
#   run-story-win.sh <game> <capture-check> <script>
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 <game> <capture-check> <script>" >&2
    exit 2
fi
game=$1 check=$2 script=$3
. "$(dirname "$0")/e2e-lib.sh"

play game "$script"
log=$work/game.log
expect_scenes "$log" "GUIIntro GUINameInput MainMenu GameLayer MainMenu GameLayer MainMenu"
for f in story-goals story-hints story-hint-bought story-goals-closed story-day-two-page story-day-two; do
    [ -s "$frames/$f.png" ] || fail "no capture $f.png"
done
grep -q "today's goals: Make mud; Make sand" "$log" || fail "day 1's goals were not listed"
grep -Eq "hintID: +1 +price +50" "$log" || fail "hint 1 (50 mana) was not chosen"
paid=$(sed -n 's/.*hint 1 bought: mana \([0-9]*\) -> \([0-9]*\).*/\1 \2/p' "$log")
set -- $paid
[ $# -eq 2 ] && [ $(($1 - $2)) -eq 50 ] || fail "hint 1 did not cost its 50 mana: '$paid'"
# The second line of hint 1's text, where the list showed nothing before.
"$check" "$frames/story-hint-bought.png" 165 192 400 20 5 || fail "the bought hint's text does not show"
"$check" "$frames/story-hints.png" 165 192 400 20 5 && fail "the hint's text showed before it was bought"
# The goals' title, "Day 1", and after the touch beside the window only sky.
"$check" "$frames/story-goals.png" 340 115 120 28 5 || fail "the goals window shows no title"
"$check" "$frames/story-goals-closed.png" 340 115 120 28 5 && fail "a touch beside the goals did not close them"
won=$(grep -n "day 1 won" "$log" | head -n 1 | cut -d: -f1)
kept=$(grep -n "the won day 1 ends as its scene goes" "$log" | head -n 1 | cut -d: -f1)
[ -n "$won" ] || fail "day 1 was not won before the menu"
[ -n "$kept" ] && [ -n "$won" ] && [ "$kept" -gt "$won" ] || fail "leaving the won day did not keep it"
grep -q "loadDay: loaded Day2" "$log" || fail "Story again did not open day 2"
order=$(grep -o "in-game message: page StoryReminderIntro1\|today's goals: Grow a flower" "$log" | tr '\n' '|')
[ "$order" = "in-game message: page StoryReminderIntro1|today's goals: Grow a flower|" ] ||
    fail "not day 2's page once, then its goals: $order"
"$check" "$frames/story-day-two-page.png" 200 135 400 30 5 || fail "day 2's page does not show"
"$check" "$frames/story-day-two.png" 340 115 120 28 5 || fail "day 2's goals do not show after its page"
finish "story win run passed; captures in $frames" "$log"
