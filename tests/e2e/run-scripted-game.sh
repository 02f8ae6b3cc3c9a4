#!/usr/bin/env bash
# Plays the real game unattended: software renderer, dummy video and audio, a
# fixed step, fresh home and save folders, a server address nobody answers,
# and an input script. Passes when the game exits 0, the log shows the
# expected scenes in order, and the world saved at exit passes the checker.
#   run-scripted-game.sh <game> <world-check> <script> <lowest painted row> <scene>...
set -u
if [ $# -lt 5 ]; then
    echo "usage: $0 <game> <world-check> <script> <lowest painted row> <scene>..." >&2
    exit 2
fi
game=$1 check=$2 script=$3 row=$4
shift 4
expected="$*"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/data" "$work/config"

# A local port with no listener: the name request fails at once and no real
# server is ever reached.
port=
for candidate in 1 9 47 61 97; do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
        port=$candidate
        break
    fi
done
if [ -z "$port" ]; then
    echo "no closed local port to point the server address at" >&2
    exit 1
fi

log=$work/game.log
# Far above the run's need, even for a sanitizer build on a busy machine.
limit=400
start=$SECONDS
env -u ENGINE_WINDOWED -u ENGINE_EXIT_AFTER_FRAMES \
    HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    ENGINE_RENDERER=software ENGINE_FIXED_STEP=1 ENGINE_LANGUAGE=en \
    ENGINE_INPUT_SCRIPT="$script" \
    TESMORA_SERVER_URL="http://127.0.0.1:$port" \
    TESMORA_SAVE_WORLD_AT_EXIT="$work/world.sav" \
    timeout "$limit" "$game" >"$log" 2>&1
status=$?
echo "the game ran $((SECONDS - start)) s and exited with $status"
[ "$status" -eq 124 ] && echo "FAIL: the game had not quit after $limit s (a few seconds are its need)" >&2

failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

[ "$status" -eq 0 ] || fail "exit status $status, expected 0"

scenes=$(sed -n 's/.*input script: frame [0-9]*: scene \([A-Za-z_:]*\).*/\1/p' "$log" | tr '\n' ' ' | sed 's/ $//')
echo "scenes: $scenes"
[ "$scenes" = "$expected" ] || fail "scenes were '$scenes', expected '$expected'"

grep -q "create player: connection failed" "$log" || fail "the log shows no failed connection for the name request"

if [ -f "$work/world.sav" ]; then
    "$check" "$work/world.sav" "$row" || fail "the saved world did not pass the check"
else
    fail "no world was saved at exit"
fi

if [ "$failed" -ne 0 ]; then
    echo "--- last lines of the game's output ---" >&2
    tail -n 60 "$log" >&2
    exit 1
fi
echo "end-to-end run passed"
