#!/usr/bin/env bash
# A new profile starts the story through the menu of the real game: the
# introduction pressed through, then the log must show day 1's world loaded
# and its goals listed.
# With a profile seed and the capture check, two more starts of a named
# player whose profile cannot be written (profile.dat a folder, which even
# root cannot write over): Free mode's first visit says so in a box over its
# introduction; Return in one, a click on OK in the other, closes the box,
# and the page's Next then turns the page.
#   run-story-start.sh <game> <script> <scene>... [--unwritable <profile seed> <capture-check>]
set -u
if [ $# -lt 3 ]; then
    echo "usage: $0 <game> <script> <scene>... [--unwritable <profile seed> <capture-check>]" >&2
    exit 2
fi
game=$1 script=$2
shift 2
seed= capture=
args=()
while [ $# -gt 0 ]; do
    if [ "$1" = --unwritable ] && [ $# -ge 3 ]; then
        seed=$2 capture=$3
        shift 3
    else
        args+=("$1")
        shift
    fi
done
expected="${args[*]}"
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
for answer in "key Return" "click 555 467"; do
    [ -n "$seed" ] || break
    name=unwritable-${answer%% *}
    home=$work/$name
    mkdir -p "$home/data"
    XDG_DATA_HOME="$home/data" HOME="$home/home" "$seed" Ada >/dev/null || fail "$name: the profile was not written"
    cloud=$home/data/ORVANE/TesmOra/cloud
    mv "$cloud/profile.dat" "$cloud/profile_bak.dat" && mkdir -p "$cloud/profile.dat/kept"
    # Free mode; the box over the introduction's first page; its answer; Next.
    printf '%s\n' "220 click 565 340" "400 capture @FRAMES@/$name-asked.png" "420 $answer" \
        "440 capture @FRAMES@/$name-answered.png" "460 click 620 528" "520 quit" >"$work/$name.in"
    E2E_HOME=$home play "$name" "$work/$name.in"
    grep -q "Failed writing file: profile.dat" "$work/$name.log" || fail "$name: the profile was written"
    # The box's text, then the same place once it is answered (the page's
    # text lies higher).
    "$capture" "$frames/$name-asked.png" 215 255 280 22 5 || fail "$name: no box over the page"
    "$capture" "$frames/$name-answered.png" 215 255 280 22 5 && fail "$name: the box stayed up"
    pages=$(grep -o "in-game message: page IntroductionFreePart[0-9]" "$work/$name.log" | tr '\n' ' ')
    [ "$pages" = "in-game message: page IntroductionFreePart1 in-game message: page IntroductionFreePart2 " ] ||
        fail "$name: not the first page, then Next to the second: $pages"
done
finish "the story's start passed" "$log"
