#!/usr/bin/env bash
# Keeps the source folders layered: a folder may include its own layer's folders and those
# below, never one above. Every `#include "folder/..."` is read; each upward include is named
# (file:line, both folders) and the script fails. It also counts include cycles between
# folders: pairs of folders that include each other, directly or through others.
#
# The order, lowest first:
#   1 platform
#   2 app        the core: the screen machine, timer, input, options, script
#   3 audio      it includes only platform, and the World's pieces play sounds
#   4 world      the World, its pieces, pictures, the draw queue and the renderer
#   5 content    definitions and levels read from the modules
#   6 widgets    the toolkit: widgets, text labels, the file chooser
#   7 dialog, media
#                one layer, but apart: play's story drives both
#   8 play
#   9 ui, editor one layer, but apart: neither may include the other
#  10 game       the program: start-up, the frame loop and the table of screens
#  11 tools, fuzz, bench
# Folders outside the table (tests, data) are not checked, and includes of them are skipped.
#
# Usage: scripts/check-layers.sh [--root DIR]   (DIR defaults to this repository)
set -euo pipefail

# folder  layer
LAYERS='
platform 1
app      2
audio    3
world    4
content  5
widgets  6
dialog   7
media    7
play     8
ui       9
editor   9
game     10
tools    11
fuzz     11
bench    11
'

# Folders on one layer that must still not include each other.
APART='
ui editor
dialog media
'

# Files that sit above every layer, whatever their folder says. Keep this short.
# Files that sit above every layer, whatever their folder says. Keep this short: today none.
TOP_FILES='
'

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ "${1-}" = "--root" ]; then
    [ $# -eq 2 ] || { echo "usage: $0 [--root DIR]" >&2; exit 2; }
    root="$(cd "$2" && pwd)"
elif [ $# -ne 0 ]; then
    echo "usage: $0 [--root DIR]" >&2
    exit 2
fi
cd "$root"

folders=$(awk 'NF { print $1 }' <<<"$LAYERS")
present=()
for f in $folders; do
    [ -d "$f" ] && present+=("$f")
done

# file:line:text of every include of a project folder, fed to the reckoning below.
includes=""
if [ ${#present[@]} -gt 0 ]; then
    includes=$(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' --include='*.inc' \
        '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[A-Za-z0-9_]+/' "${present[@]}" | LC_ALL=C sort -t: -k1,1 -k2,2n || true)
fi

LAYERS="$LAYERS" APART="$APART" TOP_FILES="$TOP_FILES" INCLUDES="$includes" exec python3 - <<'PY'
import os
import re
import sys

layer = {}
for line in os.environ["LAYERS"].splitlines():
    if line.split():
        name, number = line.split()
        layer[name] = int(number)
apart = set()
for line in os.environ["APART"].splitlines():
    names = line.split()
    for a in names:
        for b in names:
            if a != b:
                apart.add((a, b))
top_files = set(os.environ["TOP_FILES"].split())

include = re.compile(r'^\s*#\s*include\s*"([A-Za-z0-9_]+)/')
upward = []
edges = {}
for entry in os.environ["INCLUDES"].splitlines():
    path, line, text = entry.split(":", 2)
    found = include.match(text)
    if not found:
        continue
    source = path.split("/", 1)[0]
    target = found.group(1)
    if path in top_files or target not in layer or target == source:
        continue
    edges.setdefault(source, set()).add(target)
    if layer[target] > layer[source]:
        upward.append(f"{path}:{line}: {source} (layer {layer[source]}) includes {target} "
                      f"(layer {layer[target]}): {text.strip()}")
    elif (source, target) in apart:
        upward.append(f"{path}:{line}: {source} includes {target}, which sits beside it and must "
                      f"stay apart: {text.strip()}")

# Which folders each folder reaches, directly or through others.
reach = {}
for start in layer:
    seen, todo = set(), list(edges.get(start, ()))
    while todo:
        folder = todo.pop()
        if folder not in seen:
            seen.add(folder)
            todo.extend(edges.get(folder, ()))
    reach[start] = seen
names = sorted(layer, key=lambda f: (layer[f], f))
cycles = [(a, b) for i, a in enumerate(names) for b in names[i + 1:] if b in reach[a] and a in reach[b]]

for message in upward:
    print(message)
for a, b in cycles:
    how = "directly" if b in edges.get(a, ()) and a in edges.get(b, ()) else "through others"
    print(f"cycle: {a} and {b} include each other ({how})")
print(f"check-layers: {len(upward)} upward includes, {len(cycles)} include cycles between folders")
sys.exit(1 if upward else 0)
PY
