#!/usr/bin/env bash
# The name screen of a new player, offline and with a server nobody answers:
# an empty name and a name of spaces are refused with the keyboard still up,
# keys and clicks after that change nothing, and a real name goes on to the
# main menu.
#   run-name-screen.sh <game> <capture-check> <script>
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 <game> <capture-check> <script>" >&2
    exit 2
fi
game=$1 check=$2 script=$3
. "$(dirname "$0")/e2e-lib.sh"

port=$(closed_port) || exit 1
for run in offline server; do
    rm -rf "$work/home" "$work/data" "$work/config"
    rm -f "$frames/empty-name-refused.png" "$frames/spaces-refused.png" "$frames/name-then-menu.png"
    if [ "$run" = offline ]; then
        play "$run" "$script"
    else
        play "$run" "$script" TESMORA_SERVER_URL="http://127.0.0.1:$port"
    fi
    log=$work/$run.log
    expect_scenes "$log" "GUIIntro GUINameInput MainMenu"
    # The keys stand out on the keyboard's panel; a bare screen has none.
    for f in empty-name-refused spaces-refused; do
        "$check" "$frames/$f.png" 40 260 720 280 10 || fail "$run: the keyboard is not up in $f.png"
    done
    refused=$(grep -c "name screen: no name typed" "$log")
    [ "$refused" -ge 2 ] || fail "$run: $refused refusals logged, expected the empty name's and the spaces'"
    grep -q "nickname.*Ada\|name is kept\|create player" "$log" || fail "$run: the name Ada went nowhere"
done
finish "name screen runs passed" "$work/offline.log" "$work/server.log"
