#!/usr/bin/env bash
# The name screen of a new player, offline and with a server nobody answers:
# an empty name and a name of spaces are refused with the keyboard still up,
# keys and clicks after that change nothing, and a real name goes on to the
# main menu, whose Story opens the game. Once more offline on a profile that
# cannot be read: a name, Backspace and Return typed under the box that says
# so answer the box alone, and the keyboard under it takes the rest.
#   run-name-screen.sh <game> <capture-check> <script>
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 <game> <capture-check> <script>" >&2
    exit 2
fi
game=$1 check=$2 script=$3
. "$(dirname "$0")/e2e-lib.sh"

port=$(closed_port) || exit 1
for run in offline server unreadable; do
    rm -rf "$work/home" "$work/data" "$work/config"
    rm -f "$frames/empty-name-refused.png" "$frames/spaces-refused.png" "$frames/name-then-menu.png"
    case $run in
    offline) play "$run" "$script" ;;
    server) play "$run" "$script" TESMORA_SERVER_URL="http://127.0.0.1:$port" ;;
    unreadable)
        cloud=$work/data/ORVANE/TesmOra/cloud
        mkdir -p "$cloud"
        head -c 300 /dev/zero | tr '\0' 'Z' | tee "$cloud/profile.dat" >"$cloud/profile_bak.dat"
        # Keys under the box; Return answers it, and letters typed 2 frames
        # later (erased again) are the keyboard's. The name screen's own
        # script follows, 100 frames later.
        { printf '%s\n' "132 text Bo" "134 key BackSpace" "200 key Return" "202 text Cy" "204 key BackSpace" \
            "206 key BackSpace"; awk '/^[0-9]/ { $1 += 100 } { print }' "$script"; } >"$work/under-the-box.script"
        play "$run" "$work/under-the-box.script"
        grep -q "key pressed: *Bo" "$work/$run.log" && fail "$run: the keys under the box reached the keyboard"
        grep -q "key pressed: *Cy" "$work/$run.log" || fail "$run: letters typed just after the box's Return were lost"
        ;;
    esac
    log=$work/$run.log
    expect_scenes "$log" "GUIIntro GUINameInput MainMenu GameLayer"
    # The keys stand out on the keyboard's panel; a bare screen has none.
    for f in empty-name-refused spaces-refused; do
        "$check" "$frames/$f.png" 40 260 720 280 10 || fail "$run: the keyboard is not up in $f.png"
    done
    refused=$(grep -c "name screen: no name typed" "$log")
    [ "$refused" -ge 2 ] || fail "$run: $refused refusals logged, expected the empty name's and the spaces'"
    grep -q "nickname.*Ada\|name is kept\|create player" "$log" || fail "$run: the name Ada went nowhere"
done
finish "name screen runs passed" "$work/offline.log" "$work/server.log" "$work/unreadable.log"
