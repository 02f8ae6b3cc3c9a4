#!/usr/bin/env bash
# Two copies of the real game on one data folder: while the first runs, a
# second start says the game is already running, exits with 1 and writes
# nothing there (the first one is stopped meanwhile, so any change would be
# the second one's). The first is then killed with kill -9: its lock goes
# with it, and a new start runs and clears the unfinished write it left.
#   run-two-copies.sh <game>
set -u
if [ $# -ne 1 ]; then
    echo "usage: $0 <game>" >&2
    exit 2
fi
game=$1

. "$(dirname "$0")/e2e-lib.sh"

save=$work/data/ORVANE/TesmOra
# start [VAR=value...]: the game in place of this (sub)shell, so a copy
# started with (start) & has $! for its own id.
start() {
    exec env -u ENGINE_WINDOWED -u ENGINE_EXIT_AFTER_FRAMES -u ENGINE_INPUT_SCRIPT -u TESMORA_SERVER_URL \
        -u TESMORA_SAVE_WORLD_AT_EXIT -u ENGINE_FIXED_STEP "$@" \
        HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
        SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ENGINE_RENDERER=software ENGINE_LANGUAGE=en "$game"
}
# Every file below the data folder with its size and contents' sum.
snapshot() {
    (cd "$work/data" && find . -printf '%y %p %s %m\n' | sort && find . -type f -exec md5sum {} + | sort)
}

(start) >"$work/first.log" 2>&1 &
first=$!
trap 'kill -9 $first 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 600); do
    grep -q "Appdelegate Done!" "$save/tesmora.log" 2>/dev/null && break
    sleep 0.1
done
grep -q "Appdelegate Done!" "$save/tesmora.log" 2>/dev/null || fail "the first copy did not start"
# A write of the first copy's under way, as a kill in the middle leaves it.
printf 'half a profile' >"$save/cloud/.cloud-tmp-AbC123"
kill -STOP "$first"
before=$(snapshot)
# Were it to run, it would end after a second.
(start ENGINE_EXIT_AFTER_FRAMES=60) >"$work/second.log" 2>&1
status=$?
echo "second copy: exit status $status"
[ "$status" -eq 1 ] || fail "second copy: exit status $status, expected 1"
grep -q "already running" "$work/second.log" || fail "second copy: it did not say the game is already running"
[ "$(snapshot)" = "$before" ] || fail "second copy: the data folder changed: $(diff <(echo "$before") <(snapshot))"

kill -9 "$first"
wait "$first" 2>/dev/null
(start ENGINE_EXIT_AFTER_FRAMES=120) >"$work/third.log" 2>&1
status=$?
echo "start after kill -9: exit status $status"
[ "$status" -eq 0 ] || fail "start after kill -9: exit status $status, expected 0"
grep -q "Appdelegate Done!" "$work/third.log" || fail "start after kill -9: the game did not start"
[ -e "$save/cloud/.cloud-tmp-AbC123" ] && fail "start after kill -9: the unfinished write was left"

finish "two copies passed" "$work/first.log" "$work/second.log" "$work/third.log"
