#!/usr/bin/env bash
# Plays the real game unattended with a server address nobody answers and an
# input script, then checks cells of the world it saved at exit. Passes when
# the game exits 0 and each given cell holds its element.
#   run-cell-check.sh <game> <world-check> <script> <x> <y> <element> [<x> <y> <element>...]
set -u
if [ $# -lt 6 ]; then
    echo "usage: $0 <game> <world-check> <script> <x> <y> <element> [<x> <y> <element>...]" >&2
    exit 2
fi
game=$1 check=$2 script=$3
shift 3
. "$(dirname "$0")/e2e-lib.sh"

port=$(closed_port) || exit 1
play game "$script" TESMORA_SERVER_URL="http://127.0.0.1:$port" TESMORA_SAVE_WORLD_AT_EXIT="$work/world.sav"
if [ -f "$work/world.sav" ]; then
    "$check" --cells "$work/world.sav" "$@" || fail "a cell does not hold its element"
else
    fail "no world was saved at exit"
fi
finish "cell check passed" "$work/game.log"
