#!/usr/bin/env bash
# The main menu's name and mana after a game: a new player offline goes to a
# story day and to free mode and back. Each return must draw the name and
# the mana counter exactly as the first visit did (other screens make their
# own fonts current meanwhile).
#   run-menu-labels.sh <game> <capture-check> <script>
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 <game> <capture-check> <script>" >&2
    exit 2
fi
game=$1 capturecheck=$2 script=$3
. "$(dirname "$0")/e2e-lib.sh"

play menu "$script"
expect_scenes "$work/menu.log" "GUIIntro GUINameInput MainMenu GameLayer MainMenu GameLayer MainMenu"
for visit in after-story after-free-mode; do
    # The name (top left) and the mana counter (top right).
    for box in "20 30 110 24" "640 30 96 22"; do
        # shellcheck disable=SC2086
        "$capturecheck" "$frames/menu-$visit.png" $box 100 --like "$frames/menu-first.png" 100 ||
            fail "the menu $visit does not draw the box $box as the first visit did"
    done
done
finish "menu labels passed" "$work/menu.log"
