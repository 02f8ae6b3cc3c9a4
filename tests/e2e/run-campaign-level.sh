#!/usr/bin/env bash
# A player whose story is finished (profile written by the seed tool, no
# server configured) opens Campaigns, Contraptions and level 1 in the real
# game. Passes when the game exits 0, the scenes come in order, and the log
# shows level 1 started and its world Day2_1 asked for.
#   run-campaign-level.sh <game> <profile seed> <script>
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 <game> <profile seed> <script>" >&2
    exit 2
fi
game=$1 seed=$2 script=$3
. "$(dirname "$0")/e2e-lib.sh"

XDG_DATA_HOME="$work/data" HOME="$work/home" "$seed" Ada || fail "the profile was not written"
play game "$script"
log=$work/game.log
expect_scenes "$log" "GUIIntro MainMenu CampaignSelection LevelSelection GameLayer MainMenu"
grep -q "level selection: campaign 2 level 1" "$log" || fail "the log shows no start of Contraptions' level 1"
grep -q "loadDay: Day2_1" "$log" || fail "the log shows no request for Day2_1"
# The world itself is the level authors'; until it is there the game says so.
grep -q "loadDay: no world universes/Missions/Day2_1" "$log" && echo "note: Day2_1 has no prepared world yet"
grep -q "quit from the main menu" "$log" || fail "did not quit from the main menu"
finish "campaign level run passed" "$log"
