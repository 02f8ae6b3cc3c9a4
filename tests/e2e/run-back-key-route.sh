#!/usr/bin/env bash
# The back key after a route through the gallery, in the real game against
# the real server (back-key-route.script): a new player plays a shared world
# from the gallery, empties it with New world, visits the gallery from the
# world settings and comes back with Escape; Escape in the world must then
# ask to go back to the main menu, and OK must go there. The server is
# seeded with shared worlds first.
#   run-back-key-route.sh <game> <server> <gallery-check> <capture-check> <script>
set -u
if [ $# -ne 5 ]; then
    echo "usage: $0 <game> <server> <gallery-check> <capture-check> <script>" >&2
    exit 2
fi
game=$1 server=$2 gallerycheck=$3 check=$4 script=$5
. "$(dirname "$0")/e2e-lib.sh"

start_server "$server"
seed_server "$gallerycheck" 1

play game "$script" TESMORA_SERVER_URL="$url"
log=$work/game.log
expect_scenes "$log" "GUIIntro GUINameInput MainMenu GameLayer OnlineGallery GameLayer OnlineGallery GameLayer MainMenu"
# The frame the Nth entry of a scene was reached at.
scene_frame() {
    sed -n "s/.*input script: frame \([0-9]*\): scene $1[[:space:]]*$/\1/p" "$log" | sed -n "${2}p"
}
# in_time SCENE N FRAME WHAT: the scene was up before the input at FRAME.
in_time() {
    local at
    at=$(scene_frame "$1" "$2")
    [ -n "$at" ] && [ "$at" -lt "$3" ] || fail "$4 came at frame ${at:-never}, after the input at frame $3"
}
in_time MainMenu 1 700 "the main menu (after the registration)"
"$check" "$frames/back-key-first-page.png" 20 262 160 22 5 ||
    fail "the gallery's first page was not in by frame 1390"
in_time GameLayer 2 2100 "the world played from the gallery"
in_time OnlineGallery 2 2540 "the gallery from the world settings"
in_time GameLayer 3 2720 "the world, back from the gallery"
grep -q "online gallery: playing world [0-9]*" "$log" || fail "no world was played from the gallery"
# The last back key press is answered by the question; OK then reached the
# main menu (the scenes above).
last_back=$(grep -n "back button pressed in back button adapter" "$log" | tail -n 1 | cut -d: -f1)
asked=$(grep -n "GUIPopup: enter" "$log" | tail -n 1 | cut -d: -f1)
[ -n "$last_back" ] && [ -n "$asked" ] && [ "$asked" -gt "$last_back" ] ||
    fail "Escape in the world asked nothing (last back key at log line ${last_back:-none}, last popup at ${asked:-none})"
finish "back key route passed; captures in $frames" "$log" "$work/server.log"
