#!/usr/bin/env bash
# Installs the build into a temporary prefix and plays the installed game as a player would:
# headless, with HOME and XDG_DATA_HOME in a temporary folder. The player's files must land in
# the player's folder and nothing under the prefix may change.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy HOME=$tmp/home XDG_DATA_HOME=$tmp/home/data
mkdir -p "$HOME"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/quillmere bin/quillmere-sim share/quillmere/LevelList.txt share/quillmere/Settings.ini \
         share/quillmere/GUI/Loading.png share/quillmere/GUI/Qhytsdakx.ttf share/quillmere/Modules/Main/Pieces.ini \
         share/applications/org.quillmere.Quillmere.desktop share/metainfo/org.quillmere.Quillmere.metainfo.xml \
         share/man/man6/quillmere.6 share/man/man6/quillmere-sim.6; do
    [ -s "$prefix/$f" ] || fail "$f was not installed"
done
python3 - "$prefix/share/icons/hicolor" <<'PY' || fail "the icons are not PNG pictures of their sizes"
import struct, sys
for size in (16, 22, 24, 32, 48, 64, 128, 256):
    head = open(f"{sys.argv[1]}/{size}x{size}/apps/quillmere.png", "rb").read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack(">II", head[16:24]) != (size, size):
        sys.exit(f"{size}x{size}: not a PNG of that size")
PY
# The window's class is the program's name (SDL takes it from the binary): the desktop entry
# must name the same, or the running window is not matched to its launcher.
grep -qx "StartupWMClass=quillmere" "$prefix/share/applications/org.quillmere.Quillmere.desktop" ||
    fail "the desktop entry does not name the window's class quillmere"
grep -qx "Exec=quillmere" "$prefix/share/applications/org.quillmere.Quillmere.desktop" ||
    fail "the desktop entry does not start the binary quillmere the window's class is named after"
listing() { find "$prefix" -printf '%P %y %s %T@\n' | LC_ALL=C sort; }
before=$(listing)

# Started from elsewhere: skip the opening dialog, win the first level (Right, Up), go on.
cd "$tmp"
cat > script.txt <<'SCRIPT'
30 key 99
40 key 99
80 key 275
280 key 273
500 key 32
580 quit
SCRIPT
"$prefix/bin/quillmere" --level "Main/Level 1" --script script.txt --frames 600 --uncapped >out.txt 2>&1 ||
    { cat out.txt; fail "the installed game stopped with status $?"; }
player=$XDG_DATA_HOME/quillmere
[ -f "$player/Settings.ini" ] && [ ! -L "$player/Settings.ini" ] || fail "no settings in the player's folder"
grep -q '^FullscreenKey = 292$' "$player/Settings.ini" || fail "settings not written: $(cat "$player/Settings.ini")"
python3 - "$player/SaveData.sav" <<'PY' || fail "the level won is not in the save data"
import sys
data = open(sys.argv[1], "rb").read()
records = {data[i:i + 40].split(b"\0")[0]: (data[i + 40], int.from_bytes(data[i + 41:i + 45], "little"))
           for i in range(0, len(data) - 44, 45)}
sys.exit(0 if records.get(b"Main/Level 1") == (1, 2) else 1)
PY
[ -L "$player/Modules/Main" ] && [ -d "$player/Modules/Main" ] || fail "the shipped module is not linked"

# The simulator finds the same folder.
"$prefix/bin/quillmere-sim" solve "Main/Level 1" --max-turns 4 | grep -q '"solvable":true' ||
    fail "the installed simulator did not solve the first level"

# A player's folder that cannot be made: the game says so and still starts.
: >"$tmp/home/file"
TMPDIR=$tmp XDG_DATA_HOME=$tmp/home/file "$prefix/bin/quillmere" --frames 30 >out.txt 2>&1 ||
    { cat out.txt; fail "the game did not start without a player's folder"; }
grep -q "Couldn't create the folder" out.txt || { cat out.txt; fail "no message for the folder that cannot be made"; }
grep -q 'Couldn.t create the folder "[^"]*" (Not a directory)' out.txt ||
    { cat out.txt; fail "the message does not give the reason the folder could not be made"; }
ls -d "$tmp"/quillmere-* >/dev/null 2>&1 && fail "the temporary folder played in was left behind: $(ls -d "$tmp"/quillmere-*)"

[ "$(listing)" = "$before" ] || { diff <(echo "$before") <(listing) >&2 || true; fail "the prefix changed"; }
echo "installed, played, and the prefix is untouched"
