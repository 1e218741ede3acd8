#!/usr/bin/env bash
# Takes the screenshots the AppStream metadata shows (dist/screenshots/, published beside the
# home page under https://quillmere.org/screenshots/) from the built game, headless, with a
# fixed Timer step and scripted keys, so the same build always gives the same pictures.
# Run after ./scripts/build.sh; needs ImageMagick's convert for BMP to PNG.
set -euo pipefail
cd "$(dirname "$0")/.."
game="${BUILD_DIR:-build}/game"
out=dist/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -rL "$game/." "$work/"
# A player who has seen the opening once: the game starts on the title.
sed -i 's/^OpeningSeen = .*/OpeningSeen = 1/' "$work/Settings.ini"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

shoot() {  # NAME FRAME SCRIPT [ARGS...]: frame FRAME after the script's keys, as NAME.png
    local name=$1 frame=$2 script=$3
    shift 3
    printf '%s\n%s shot %s.bmp\n' "$script" "$frame" "$name" >"$work/$name.txt"
    (cd "$work" && ./quillmere --data . --script "$name.txt" --frames "$((frame + 1))" "$@")
    convert "$work/$name.bmp" -strip "$out/$name.png"
}

mkdir -p "$out"
# The title, the ring on PLAY.
shoot title 60 ""
# The level select on the first chapter.
shoot level-select 120 "30 key 13"
# A level of the third chapter in play, its start words on the board.
shoot play 500 "" --level "Main/The Ink Well"
