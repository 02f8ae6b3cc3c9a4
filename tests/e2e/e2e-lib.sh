# Shared by the end-to-end runners: a fresh home, one unattended start of the
# real game, and the checks every runner makes. Source it after setting
# $game; it sets $work (removed at exit), $frames and fail/$failed.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/data" "$work/config" "$work/frames"
frames=${TESMORA_TEST_FRAMES:-$work/frames}
mkdir -p "$frames"

failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# play NAME SCRIPT [VAR=value...]: one start of the game with the script
# (@FRAMES@ becomes the frame folder): software renderer, dummy video and
# audio, fixed step, English, the home in $work (in $E2E_HOME when it is
# set, for a second player; E2E_FIXED_STEP=0 paces the frames by the real
# clock, at most 60 a second). Its log is $work/NAME.log; the arguments after
# the script are more environment for the game.
play() {
    local name=$1 script=$2 base=${E2E_HOME:-$work}
    shift 2
    mkdir -p "$base/home" "$base/data" "$base/config"
    sed "s|@FRAMES@|$frames|g" "$script" >"$work/$name.script"
    env -u ENGINE_WINDOWED -u ENGINE_EXIT_AFTER_FRAMES -u TESMORA_SERVER_URL -u TESMORA_SAVE_WORLD_AT_EXIT "$@" \
        HOME="$base/home" XDG_DATA_HOME="$base/data" XDG_CONFIG_HOME="$base/config" \
        SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
        ENGINE_RENDERER=software ENGINE_FIXED_STEP="${E2E_FIXED_STEP:-1}" ENGINE_LANGUAGE=en \
        ENGINE_INPUT_SCRIPT="$work/$name.script" \
        timeout 400 "$game" >"$work/$name.log" 2>&1
    local status=$?
    echo "$name start: exit status $status"
    # Far above the run's need, even for a sanitizer build on a busy machine.
    [ "$status" -eq 124 ] && echo "FAIL: $name start: the game had not quit after 400 s" >&2
    [ "$status" -eq 0 ] || fail "$name start: exit status $status, expected 0"
}

# The scenes a log shows, in order, on one line.
scenes() {
    sed -n 's/.*input script: frame [0-9]*: scene \([A-Za-z_:]*\).*/\1/p' "$1" | tr '\n' ' ' | sed 's/ $//'
}

# expect_scenes LOG EXPECTED
expect_scenes() {
    local got
    got=$(scenes "$1")
    echo "scenes: $got"
    [ "$got" = "$2" ] || fail "scenes were '$got', expected '$2'"
}

# start_server SERVER: the world-sharing server on a free port with a
# database in $work, stopped at exit; sets $url, or fails the run when it
# does not start.
start_server() {
    "$1" --port 0 --db "$work/gallery.db" >"$work/server.out" 2>"$work/server.log" &
    server_pid=$!
    trap 'kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null; rm -rf "$work"' EXIT
    local port
    for _ in $(seq 1 600); do
        grep -q 'http://' "$work/server.out" 2>/dev/null && break
        sleep 0.1
    done
    port=$(sed -n 's|.*http://[^:]*:\([0-9]*\).*|\1|p' "$work/server.out" | head -1)
    if [ -z "$port" ]; then
        echo "FAIL: the server did not start: $(cat "$work/server.log")" >&2
        exit 1
    fi
    url="http://127.0.0.1:$port"
}

# seed_server GALLERY-CHECK N: N prepared worlds shared on the server at
# $url by the gallery check's players; the run stops when it cannot seed.
seed_server() {
    XDG_DATA_HOME="$work/seed/data" HOME="$work/seed/home" "$1" --seed "$url" "$2" >"$work/seed.log" 2>&1 ||
        { echo "FAIL: seeding: $(tail -n 5 "$work/seed.log")" >&2; exit 1; }
}

# A local port with no listener, for a server address nobody answers.
closed_port() {
    local candidate
    for candidate in 1 9 47 61 97; do
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
            echo "$candidate"
            return 0
        fi
    done
    echo "no closed local port to point the server address at" >&2
    return 1
}

# finish MESSAGE LOG...: on a failure, the logs' last lines and exit 1.
finish() {
    local message=$1
    shift
    if [ "$failed" -ne 0 ]; then
        local log
        for log in "$@"; do
            [ -f "$log" ] || continue
            echo "--- last lines of $(basename "$log") ---" >&2
            tail -n 50 "$log" >&2
        done
        exit 1
    fi
    echo "$message"
    exit 0
}
