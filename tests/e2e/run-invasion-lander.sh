#!/usr/bin/env bash
# A player who finished Zombie and reached level 7 of Invasion (profile
# written by the seed tool) opens Campaigns, Invasion and level 7 in the
# real game, flies the lander from its yard over the ridge with the held
# buttons of its panel and sets it down on the strip. Passes when the game
# exits 0 and the log shows Day10_7 loaded, then Day10_8 after the board.
#   run-invasion-lander.sh <game> <profile seed> <script>
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 <game> <profile seed> <script>" >&2
    exit 2
fi
game=$1 seed=$2 script=$3
. "$(dirname "$0")/e2e-lib.sh"

XDG_DATA_HOME="$work/data" HOME="$work/home" "$seed" Ada 10=7 finished=8 || fail "the profile was not written"
play game "$script"
log=$work/game.log
grep -q "level selection: campaign 10 level 7" "$log" || fail "the log shows no start of Invasion's level 7"
grep -q "loadDay: loaded Day10_7" "$log" || fail "the log shows Day10_7 not loaded"
grep -q "loadDay: loaded Day10_8" "$log" || fail "the lander did not land and level 8 was not loaded (Day10_8)"
finish "invasion lander run passed" "$log"
