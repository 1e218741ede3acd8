#!/usr/bin/env bash
# Writes the optimal replay of every level in the built game's LevelList.txt into
# tests/fixtures/campaign/, as the solver finds it (the fewest turns). Run after changing a
# campaign level, then set the level's TurnsPar to the number of moves if it changed:
# the campaign test plays every replay and expects the level done in exactly its par.
#   ./scripts/campaign-replays.sh [GAME_DIR]       (default build/game)
set -euo pipefail
cd "$(dirname "$0")/.."
game=${1:-build/game}
out=tests/fixtures/campaign
mkdir -p "$out"
n=0
failed=0
while IFS= read -r level || [ -n "$level" ]; do
  [ -z "$level" ] && continue
  n=$((n + 1))
  line=$("$game/quillmere-sim" solve "$level" --data "$game" --max-turns 40 2>/dev/null </dev/null) || true
  case $line in
    *'"solvable":true'*) ;;
    *) echo "no solution for $level: ${line:-the level did not load}" >&2; failed=1; continue ;;
  esac
  moves=$(printf '%s' "$line" | sed -e 's/.*"moves":\[\([^]]*\)\].*/\1/' -e 's/"//g' -e 's/,/ /g')
  file=$(printf '%s/%02d.rpl' "$out" "$n")
  { printf '%s\n' "$level"; for m in $moves; do printf '%s\n' "$m"; done; } > "$file"
  echo "$file: $level: $(printf '%s' "$moves" | wc -w) turns"
done < "$game/LevelList.txt"
exit $failed
