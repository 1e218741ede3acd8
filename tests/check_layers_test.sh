#!/usr/bin/env bash
# The layer check on small trees of its own: a clean tree passes; an include of a folder
# above, or between ui and editor, fails with the file, the line and both folders; the
# program's own folder may include anything; cycles between folders are counted.
set -u
script=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Lays out a fresh tree: each argument is "file|line of text", appended to the file.
plant() {
    rm -rf "$tree"/*
    for entry in "$@"; do
        mkdir -p "$tree/$(dirname "${entry%%|*}")"
        echo "${entry#*|}" >>"$tree/${entry%%|*}"
    done
}

# expect STATUS SUMMARY [TEXT...]: the script's status, its summary line and lines it prints.
expect() {
    local status=$1 summary=$2 out code
    shift 2
    out=$("$script" --root "$tree" 2>&1)
    code=$?
    [ "$code" -eq "$status" ] || fail "status $code, not $status: $out"
    [ "$(tail -n 1 <<<"$out")" = "check-layers: $summary" ] || fail "summary is not '$summary': $out"
    for text in "$@"; do
        grep -qF -- "$text" <<<"$out" || fail "no '$text' in: $out"
    done
}

clean=("platform/p.h|#pragma once" "world/w.cpp|#include \"platform/p.h\"" "world/w.cpp|#include \"world/w.h\""
       "ui/u.cpp|#include \"world/w.h\"" "tests/t.cpp|#include \"ui/u.h\"")
plant "${clean[@]}"
expect 0 "0 upward includes, 0 include cycles between folders"

plant "${clean[@]}" "world/w.cpp|#include \"ui/x.h\""
expect 1 "1 upward includes, 1 include cycles between folders" \
    'world/w.cpp:3: world (layer 4) includes ui (layer 9)' "cycle: world and ui include each other (directly)"

plant "${clean[@]}" "editor/e.cpp|#include \"ui/u.h\""
expect 1 "1 upward includes, 0 include cycles between folders" 'editor/e.cpp:1: editor includes ui'

# The program's include of ui is allowed and makes no cycle with ui's include of app.
plant "${clean[@]}" "game/main.cpp|#include \"ui/u.h\"" "ui/u.cpp|#include \"app/t.h\"" "app/t.cpp|  #  include \"world/w.h\""
expect 1 "1 upward includes, 0 include cycles between folders" 'app/t.cpp:1: app (layer 2) includes world'

# Content through others: world -> content -> play -> world.
plant "${clean[@]}" "world/w.h|#include \"content/c.h\"" "content/c.h|#include \"play/p.h\"" "play/p.h|#include \"world/w.h\""
expect 1 "2 upward includes, 3 include cycles between folders" "cycle: world and content include each other (through others)"

exit $((failures > 0))
