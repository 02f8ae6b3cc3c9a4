#!/usr/bin/env bash
# The online gallery end to end: the real game against the real server on
# loopback, two players in two homes. A shares a world from the world menu,
# then paints over it and renames it: Upload asks for a save first, and
# after the save the gallery gets the world as it is now, under its new
# name, and no second copy of the first;
# B opens the gallery from the main menu, finds A's world by search, plays
# it and rates it four stars. Passes when both games exit 0, B's world at
# exit holds A's Sand, the server reports the world at 4.0 from one rating
# with one download, and B's profile counts one download (word 204), one
# gallery entry (208) and one rated world (220); and when the seeder fills
# the same server twice; and when a third player's registration and upload,
# given up on while the server was frozen, are each done once. The captures
# go to TESMORA_TEST_FRAMES when it is set.
#   run-gallery.sh <game> <server> <world-check> <gallery-check> <share script> <play script>
#                  <frozen name script> <frozen upload script>
set -u
if [ $# -ne 8 ]; then
    echo "usage: $0 <game> <server> <world-check> <gallery-check> <share script> <play script>" \
        "<frozen name script> <frozen upload script>" >&2
    exit 2
fi
game=$1 server=$2 worldcheck=$3 gallerycheck=$4 share=$5 playscript=$6 frozenname=$7 frozenupload=$8
. "$(dirname "$0")/e2e-lib.sh"

start_server "$server"

# Each player has a home of their own.
mkdir -p "$work/a" "$work/b"
E2E_HOME="$work/a" play share "$share" TESMORA_SERVER_URL="$url"
grep -qi "upload of dunes done: gallery world" "$work/share.log" || fail "A's world was not shared"
grep -qi "upload of hills done: gallery world" "$work/share.log" || fail "A's changed world was not shared"
grep -q "online gallery: deleted world" "$work/share.log" && fail "A's double click on Delete deleted the world"

E2E_HOME="$work/b" play play "$playscript" TESMORA_SERVER_URL="$url" TESMORA_SAVE_WORLD_AT_EXIT="$work/b.sav"
log=$work/play.log
expect_scenes "$log" "GUIIntro GUINameInput MainMenu GameLayer OnlineGallery GameLayer"
grep -q "online gallery: playing world [0-9]* Dunes" "$log" || fail "B did not play A's world"
grep -q "rated online world [0-9]* with 4 stars" "$log" || fail "B's four stars were not taken"
if [ -f "$work/b.sav" ]; then
    "$worldcheck" "$work/b.sav" 144 || fail "B's world does not hold A's Sand"
else
    fail "no world at B's exit"
fi
"$gallerycheck" --world "$url" Dunes 4.0 1 1 || fail "the server's figures of Dunes"
XDG_DATA_HOME="$work/b/data" HOME="$work/b/home" "$gallerycheck" --words 204=1 208=1 220=1 ||
    fail "B's profile words"
if XDG_DATA_HOME="$work/a/data" HOME="$work/a/home" "$gallerycheck" --data "$url" Hills "$work/hills.sav"; then
    "$worldcheck" --cells "$work/hills.sav" 60 135 Wall 120 135 Wall 180 135 Wall ||
        fail "the gallery's Hills is not the world A saw"
else
    fail "no Hills in the gallery"
fi
# The seeder the README gives for play by hand, twice on this server: the
# second time its players' names are taken and it seeds as new ones.
for round in 1 2; do
    XDG_DATA_HOME="$work/seed/data" HOME="$work/seed/home" "$gallerycheck" --seed "$url" 2 \
        >"$work/seed$round.log" 2>&1 || fail "seeding round $round: $(grep 'gallery check' "$work/seed$round.log")"
done
grep -q "player Cleo 2 is" "$work/seed2.log" || fail "the second seeding did not take new names"

# A server frozen past the game's answer time does what it was asked once
# it goes on. C's registration (the start after it sends it again) and her
# upload (sent again after "The server did not answer in time.") are each
# the request already done: one player named Dana, one card.
wait_lines() {  # FILE PATTERN N: until the file has N lines matching it
    for _ in $(seq 1 1200); do
        [ "$(grep -c "$2" "$1" 2>/dev/null)" -ge "$3" ] && return 0
        sleep 0.1
    done
    fail "fewer than $3 lines '$2' in $(basename "$1") after 120 s"
    return 1
}
players=$(grep -c " registered$" "$work/server.log")
kill -STOP "$server_pid"
E2E_HOME="$work/c" play frozen-name "$frozenname" TESMORA_SERVER_URL="$url"
kill -CONT "$server_pid"
wait_lines "$work/server.log" " registered$" $((players + 1))
E2E_HOME="$work/c" E2E_FIXED_STEP=0 play frozen-upload "$frozenupload" TESMORA_SERVER_URL="$url" \
    >"$work/frozen-upload.out" &
game_job=$!
wait_lines "$work/server.log" "registered before" 1 && kill -STOP "$server_pid"
wait_lines "$work/frozen-upload.log" "gallery: request failed: 28 " 1
kill -CONT "$server_pid"
wait "$game_job"
grep -q "exit status 0" "$work/frozen-upload.out" || fail "C's start: $(cat "$work/frozen-upload.out")"
grep -qi "upload of sandy done: gallery world" "$work/frozen-upload.log" || fail "C's world was not shared"
grep -q "uploaded before by player" "$work/server.log" || fail "the upload given up on was not the one tried again"
[ "$(grep -c " registered$" "$work/server.log")" -eq $((players + 1)) ] ||
    fail "players registered: $(grep registered "$work/server.log")"
"$gallerycheck" --world "$url" Sandy 0 0 0 >"$work/sandy.out" 2>&1 || fail "the cards of Sandy: $(cat "$work/sandy.out")"
grep -q '"Sandy" by Dana:' "$work/sandy.out" || fail "Sandy's author: $(cat "$work/sandy.out")"
finish "gallery run passed" "$work/share.log" "$log" "$work/server.log" "$work/frozen-upload.log"
