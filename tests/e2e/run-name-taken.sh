#!/usr/bin/env bash
# A player registered on one server whose database is then replaced, on a
# new one where another player has the name: the real game against the real
# server. Ann registers and quits; the server starts again on a new
# database seeded by other players (an Ann among them). Ann's Upload is told
# the server does not know her; Upload again registers the name, which is
# taken: the box's OK closes it over the name keyboard, a new name (Bea)
# registers and the upload goes on and says it is in the gallery. Passes
# when the world is on the server by Bea, and the bar said so.
# Before that, from the same start, Ann plays a gallery world and meets the
# name keyboard, empty, under the box that says the name is taken: a
# name and Return typed under the box answer the box alone; Enter alone on
# the keyboard keeps it up; the back key closes it, nothing is played, and
# Play asks for the name again. Her name stays, no player "Duplicate!" is on
# the server, and the menu's Story opens the game.
# And an Ann who kept her name offline starts on the new server: the name
# screen's box says it is taken, a name and Return typed under it answer the
# box alone, the next name registers and Story opens the game.
#   run-name-taken.sh <game> <server> <gallery-check> <first script> <share script> <gallery script> <start script>
set -u
if [ $# -ne 7 ]; then
    echo "usage: $0 <game> <server> <gallery-check> <first script> <share script> <gallery script> <start script>" >&2
    exit 2
fi
game=$1 server=$2 gallerycheck=$3 first=$4 share=$5 gallery=$6 start=$7
. "$(dirname "$0")/e2e-lib.sh"

start_server "$server"
play first "$first" TESMORA_SERVER_URL="$url"
grep -q "Saving private key: set" "$work/first.log" || fail "Ann was not registered on the first server"

# The database replaced: the same server on a new one, which others fill.
kill "$server_pid"
wait "$server_pid" 2>/dev/null
rm -f "$work/gallery.db" "$work/gallery.db-wal" "$work/gallery.db-shm" "$work/server.out"
start_server "$server"
seed_server "$gallerycheck" 1
grep -q "player Ann is" "$work/seed.log" || fail "the new server's Ann is not another player"

# Ann kept offline, then on this server.
E2E_HOME=$work/kept play kept "$first"
E2E_HOME=$work/kept play start "$start" TESMORA_SERVER_URL="$url"
expect_scenes "$work/start.log" "GUIIntro MainMenu GUINameInput MainMenu GameLayer"
grep -q "key pressed: *Bo" "$work/start.log" && fail "the keys under the name screen's box reached the keyboard"
grep -q "Saving Name: *Dee" "$work/start.log" || fail "the name typed after the box was not kept"

# On a copy of Ann as the first server left her: the share starts from her.
mkdir -p "$work/ann"
cp -a "$work/home" "$work/data" "$work/config" "$work/ann/"
E2E_HOME=$work/ann play gallery "$gallery" TESMORA_SERVER_URL="$url"
# In order: the server that does not know Ann, the name refused, what became
# of the prompt, and every name saved.
order=$(grep -o "not played: This [a-z]*\|progress bar failed: This name\|no name typed\|no name given\|Saving Name: *[^ ]*\|online gallery: playing" "$work/gallery.log" |
    sed 's/Saving Name: */Name /' | awk '$0 != last || !/^Name/ { print } { last = $0 }' | tr '\n' '|')
echo "gallery: $order"
# (Each registration is saved with its request id before it is sent.)
[ "$order" = "Name Ann|not played: This server|Name Ann|progress bar failed: This name|no name typed|no name typed|no name given|Name Ann|progress bar failed: This name|no name given|Name Ann|" ] ||
    fail "not the refusals, the prompt refused as a name and Ann kept"
expect_scenes "$work/gallery.log" "GUIIntro MainMenu GameLayer OnlineGallery MainMenu GameLayer"
grep -q "key pressed: *Bo" "$work/gallery.log" && fail "the keys under the gallery's box reached the keyboard"
# No player is named "Duplicate!": the server registers the name.
body='{"nickname":"Duplicate!"}'
exec 3<>"/dev/tcp/127.0.0.1/${url##*:}"
printf 'POST /v1/players HTTP/1.1\r\nHost: gallery\r\nContent-Type: application/json\r\nContent-Length: %d\r\n\r\n%s' "${#body}" "$body" >&3
read -r -t 30 answer <&3
exec 3<&-
case $answer in "HTTP/1.1 201"*) ;; *) fail "a player Duplicate! is on the server: $answer" ;; esac

play share "$share" TESMORA_SERVER_URL="$url"
log=$work/share.log
expect_scenes "$log" "GUIIntro MainMenu GameLayer"
grep -q "the server does not know player" "$log" || fail "the first upload was not told the server forgot Ann"
# In order: the server that does not know Ann and OK; the name refused on
# the bar and OK; the new name typed into the keyboard under it; then the
# upload's success on a bar of its own.
order=$(grep -o "progress bar failed: This [a-z]*\|progress bar: OK\|key pressed:  Bea\|progress bar done: Your world is in the gallery!" "$log" |
    tr '\n' '|')
echo "order: $order"
[ "$order" = "progress bar failed: This server|progress bar: OK|progress bar failed: This name|progress bar: OK|key pressed:  Bea|progress bar done: Your world is in the gallery!|progress bar: OK|" ] ||
    fail "not the box, its OK, the new name and the upload said"
"$gallerycheck" --world "$url" Dunes 0 0 0 >"$work/world.log" 2>&1
cat "$work/world.log"
grep -q "\"Dunes\" by Bea:" "$work/world.log" || fail "Dunes is not on the server by Bea"
finish "name taken run passed; captures in $frames" "$log" "$work/server.log"
