#!/usr/bin/env bash
# Processor use of the running game on one screen, in percent of one core, from the process's
# own user and system times in /proc over a few seconds once the screen is up.
#   bench/cpu_use.sh GAME_BINARY GAME_DIR SCREEN LEVEL [xvfb]
# SCREEN: start (opening cutscene, then title), select, play, editor. LEVEL: a level of the
# game folder, e.g. "Main/Level 1". With "xvfb" the game runs in a real window under Xvfb.
set -euo pipefail
binary=$1 game=$2 screen=$3 level=$4 display=${5:-dummy}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$game" "$work/game"
args=(--data "$work/game")
settle=3
case $screen in
  start) settle=1 ;;
  select) args+=(--level "$level" --script "$work/script.txt"); echo "60 key 27" > "$work/script.txt" ;;
  play) args+=(--level "$level") ;;
  editor)
    args+=(--script "$work/script.txt"); settle=6
    printf '%s\n' "20 key 27" "120 mousemove 320 212" "121 mousedown 1 320 212" "123 mouseup 1 320 212" \
      "240 mousemove 180 182" "241 mousedown 1 180 182" "243 mouseup 1 180 182" > "$work/script.txt" ;;
  *) echo "unknown screen $screen" >&2; exit 2 ;;
esac
if [ "$display" = xvfb ]; then
  Xvfb :77 -screen 0 1024x768x24 >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
  sleep 1
  DISPLAY=:77 SDL_AUDIODRIVER=dummy "$binary" "${args[@]}" >/dev/null 2>&1 &
else
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$binary" "${args[@]}" >/dev/null 2>&1 &
fi
pid=$!
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
sleep "$settle"
t0=$(ticks); s0=$(date +%s%N)
sleep 5
t1=$(ticks); s1=$(date +%s%N)
kill "$pid"; wait "$pid" 2>/dev/null || true
hz=$(getconf CLK_TCK)
echo "$screen ($display): $(( (t1 - t0) * 100000000000 / hz / (s1 - s0) ))% of one core"
