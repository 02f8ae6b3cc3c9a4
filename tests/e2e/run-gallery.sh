#!/usr/bin/env bash
# The online gallery end to end: the real game against the real server on
# loopback, two players in two homes. A shares a world from the world menu;
# B opens the gallery from the main menu, finds A's world by search, plays
# it and rates it four stars. Passes when both games exit 0, B's world at
# exit holds A's Sand, the server reports the world at 4.0 from one rating
# with one download, and B's profile counts one download (word 204), one
# gallery entry (208) and one rated world (220); and when the seeder fills
# the same server twice. The captures go to TESMORA_TEST_FRAMES when it is
# set.
#   run-gallery.sh <game> <server> <world-check> <gallery-check> <share script> <play script>
set -u
if [ $# -ne 6 ]; then
    echo "usage: $0 <game> <server> <world-check> <gallery-check> <share script> <play script>" >&2
    exit 2
fi
game=$1 server=$2 worldcheck=$3 gallerycheck=$4 share=$5 playscript=$6
. "$(dirname "$0")/e2e-lib.sh"

start_server "$server"

# Each player has a home of their own.
mkdir -p "$work/a" "$work/b"
E2E_HOME="$work/a" play share "$share" TESMORA_SERVER_URL="$url"
grep -qi "upload of dunes done: gallery world" "$work/share.log" || fail "A's world was not shared"
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
# The seeder the README gives for play by hand, twice on this server: the
# second time its players' names are taken and it seeds as new ones.
for round in 1 2; do
    XDG_DATA_HOME="$work/seed/data" HOME="$work/seed/home" "$gallerycheck" --seed "$url" 2 \
        >"$work/seed$round.log" 2>&1 || fail "seeding round $round: $(grep 'gallery check' "$work/seed$round.log")"
done
grep -q "player Cleo 2 is" "$work/seed2.log" || fail "the second seeding did not take new names"
finish "gallery run passed" "$work/share.log" "$log" "$work/server.log"
