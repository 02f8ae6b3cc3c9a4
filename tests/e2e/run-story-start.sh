#!/usr/bin/env bash
# A new profile starts the story through the menu of the real game: the
# introduction pressed through, then the log must show day 1's world loaded
# and its goals listed.
#   run-story-start.sh <game> <script> <scene>...
set -u
if [ $# -lt 3 ]; then
    echo "usage: $0 <game> <script> <scene>..." >&2
    exit 2
fi
game=$1 script=$2
shift 2
expected="$*"
# The story's first world comes from the resources: without it the test fails.
if [ ! -f "${ENGINE_RESOURCES:-}/universes/Missions/Day1" ]; then
    echo "ENGINE_RESOURCES=${ENGINE_RESOURCES:-(not set)} has no universes/Missions/Day1" >&2
    exit 1
fi
. "$(dirname "$0")/e2e-lib.sh"

port=$(closed_port) || exit 1
play story "$script" TESMORA_SERVER_URL="http://127.0.0.1:$port"
log=$work/story.log
expect_scenes "$log" "$expected"
grep -q "loadDay: loaded Day1" "$log" || fail "the log shows no Day1 loaded"
goals=$(grep "today's goals:" "$log" | head -n 1)
echo "goals: $goals"
case "$goals" in
*"Make mud; Make sand"*) ;;
*) fail "the log lists no goals of day 1 (Make mud, Make sand)" ;;
esac
finish "the story's start passed" "$log"
