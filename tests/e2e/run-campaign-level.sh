#!/usr/bin/env bash
# A player whose story is finished (profile written by the seed tool, no
# server configured) opens Campaigns, Contraptions and level 1 in the real
# game, places Power on the marked socket, reads the board and goes on to
# level 2. Passes when the game exits 0, the scenes come in order, and the
# log shows level 1 started, its world Day2_1 loaded and then Day2_2.
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
grep -q "loadDay: loaded Day2_1" "$log" || fail "the log shows Day2_1 not loaded"
grep -q "loadDay: loaded Day2_2" "$log" || fail "level 1 was not won and level 2 not loaded (Day2_2)"
grep -q "quit from the main menu" "$log" || fail "did not quit from the main menu"
finish "campaign level run passed" "$log"
