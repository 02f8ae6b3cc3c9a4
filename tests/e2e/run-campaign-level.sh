#!/usr/bin/env bash
# A player whose story is finished (profile written by the seed tool, no
# server configured) opens Campaigns, Contraptions and level 1 in the real
# game, places Power on the marked socket, reads the board and goes on to
# level 2. Passes when the game exits 0, the scenes come in order, the log
# shows level 1 started, its world Day2_1 loaded and then Day2_2, and the
# level's ground showed under its goals as it does once they close (the
# strip below the goals window, there dimmed to 57 %).
#   run-campaign-level.sh <game> <profile seed> <capture-check> <script>
set -u
if [ $# -ne 4 ]; then
    echo "usage: $0 <game> <profile seed> <capture-check> <script>" >&2
    exit 2
fi
game=$1 seed=$2 check=$3 script=$4
. "$(dirname "$0")/e2e-lib.sh"

XDG_DATA_HOME="$work/data" HOME="$work/home" "$seed" Ada || fail "the profile was not written"
play game "$script"
log=$work/game.log
expect_scenes "$log" "GUIIntro MainMenu CampaignSelection LevelSelection GameLayer MainMenu"
grep -q "level selection: campaign 2 level 1" "$log" || fail "the log shows no start of Contraptions' level 1"
grep -q "loadDay: loaded Day2_1" "$log" || fail "the log shows Day2_1 not loaded"
grep -q "loadDay: loaded Day2_2" "$log" || fail "level 1 was not won and level 2 not loaded (Day2_2)"
grep -q "quit from the main menu" "$log" || fail "did not quit from the main menu"
"$check" "$frames/campaign-level-one.png" 0 566 800 32 90 --like "$frames/campaign-level-one-world.png" 57 ||
    fail "the goals at the level's start showed another world under them"
finish "campaign level run passed" "$log"
