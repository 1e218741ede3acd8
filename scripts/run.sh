#!/usr/bin/env bash
# Builds the game and starts it in its game folder. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build/game
exec ./quillmere "$@"
