#!/usr/bin/env bash
# scripts/fuzz and scripts/soak as a fresh clone runs them: their argument
# checks, then their set-up (what they install, the build folder they
# configure) in a scratch copy of the source tree with no build/ folder.
#   check-scripts.sh <source root>
set -u
root=${1:?usage: check-scripts.sh <source root>}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$scratch" -xf - || exit 1
unset TESMORA_FUZZ_BUILD TESMORA_SOAK_BUILD TESMORA_SOAK_OPTIMISED_BUILD
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

# A refused argument stops with the usage before anything is installed or built.
refused() {
    local script=$1
    shift
    local out status
    out=$(bash "$scratch/scripts/$script" "$@" 2>&1)
    status=$?
    if [ "$status" -ne 2 ] || ! grep -q "usage: scripts/$script" <<<"$out"; then
        fail "scripts/$script $*: exit $status, expected 2 with the usage; it said: $out"
    fi
}
refused fuzz 0
refused fuzz ten
refused fuzz 5 6
refused fuzz --jobs
refused soak ten
refused soak 1 --seed
refused soak 1 --seed -4
refused soak --wall-limit soon
refused soak --speed 2
refused soak --steps
refused soak --steps 2.5
refused soak 10 --steps 500
[ -e "$scratch/build" ] && fail "a refused argument left $scratch/build behind"

# The set-up from nothing: each script makes its build folder and configures it.
set_up() {
    local folder=$1 compiler=$2 script=$3
    shift 3
    local what="scripts/$script${*:+ $*} --setup-only" out
    if ! out=$(bash "$scratch/scripts/$script" "$@" --setup-only 2>&1); then
        fail "$what failed: $out"
        return
    fi
    local cache="$scratch/build/$folder/CMakeCache.txt"
    if [ ! -f "$cache" ]; then
        fail "$what left no configured build/$folder"
    elif ! grep -q "^CMAKE_CXX_COMPILER:[A-Z]*=.*$compiler" "$cache"; then
        fail "build/$folder is not configured with $compiler: $(grep '^CMAKE_CXX_COMPILER:' "$cache")"
    else
        echo "$what: build/$folder configured with $compiler"
    fi
}
set_up fuzz clang++ fuzz
set_up soak c++ soak
set_up soak-optimised c++ soak --optimised

[ "$failed" -eq 0 ] && echo "the fuzz and soak scripts check their arguments and set up from nothing"
exit "$failed"
