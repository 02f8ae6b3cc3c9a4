#!/usr/bin/env bash
# A new player's story day 1, "Make mud" done again and again: soil into the
# pond pays it; the menu, Story again and soil into the pond once more
# (first script); then a new start, Story and the same (second script).
# Passes when both starts exit 0 through the expected scenes, day 1's goals
# came up each time without "Make mud" open again, Mud was announced once
# in all, and after each start the profile holds the mana of one "Make mud"
# (3,500 and its 50).
#   run-mission-once.sh <game> <profile seed> <first script> <second script>
set -u
if [ $# -ne 4 ]; then
    echo "usage: $0 <game> <profile seed> <first script> <second script>" >&2
    exit 2
fi
game=$1 seed=$2 first=$3 second=$4
. "$(dirname "$0")/e2e-lib.sh"

play first "$first"
expect_scenes "$work/first.log" "GUIIntro GUINameInput MainMenu GameLayer MainMenu GameLayer MainMenu"
goals=$(grep -c "today's goals:" "$work/first.log")
[ "$goals" -eq 2 ] || fail "first start: day 1's goals came up $goals times, expected 2"
mud=$(grep -c "notice: New element: Mud" "$work/first.log")
[ "$mud" -eq 1 ] || fail "first start: Mud was announced $mud times, expected once"
grep "today's goals:" "$work/first.log" | tail -n 1 | grep -q "Make mud" &&
    fail "first start: Story again asked for the mud paid already"
XDG_DATA_HOME="$work/data" HOME="$work/home" "$seed" --expect mana=3550 best0=1 || fail "the profile after the first start"

play second "$second"
expect_scenes "$work/second.log" "GUIIntro MainMenu GameLayer MainMenu"
grep -q "today's goals: Make sand" "$work/second.log" || fail "second start: day 1's goals were not Make sand alone"
grep -q "notice: New element: Mud" "$work/second.log" && fail "second start: Mud was announced again"
XDG_DATA_HOME="$work/data" HOME="$work/home" "$seed" --expect mana=3550 best0=1 || fail "the profile after the second start"
finish "mission once run passed; captures in $frames" "$work/first.log" "$work/second.log"
