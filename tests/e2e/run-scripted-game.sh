#!/usr/bin/env bash
# Plays the real game unattended with a server address nobody answers and an
# input script. Passes when the game exits 0, the log shows the expected
# scenes in order, and the world saved at exit passes the checker.
#   run-scripted-game.sh <game> <world-check> <script> <lowest painted row> <scene>...
set -u
if [ $# -lt 5 ]; then
    echo "usage: $0 <game> <world-check> <script> <lowest painted row> <scene>..." >&2
    exit 2
fi
game=$1 check=$2 script=$3 row=$4
shift 4
expected="$*"
. "$(dirname "$0")/e2e-lib.sh"

# The name request fails at once and no real server is ever reached.
port=$(closed_port) || exit 1
play game "$script" TESMORA_SERVER_URL="http://127.0.0.1:$port" TESMORA_SAVE_WORLD_AT_EXIT="$work/world.sav"
log=$work/game.log
expect_scenes "$log" "$expected"
grep -q "create player: connection failed" "$log" || fail "the log shows no failed connection for the name request"
if [ -f "$work/world.sav" ]; then
    "$check" "$work/world.sav" "$row" || fail "the saved world did not pass the check"
else
    fail "no world was saved at exit"
fi
finish "end-to-end run passed" "$log"
