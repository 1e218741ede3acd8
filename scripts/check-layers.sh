#!/usr/bin/env bash
# Keeps the source folders layered: a folder may include its own layer's folders and those
# below, never one above. Every `#include "folder/..."` is read; each upward include is named
# (file:line, both folders) and the script fails. It also counts include cycles between
# folders: pairs of folders that include each other, directly or through others.
#
# The order, lowest first:
#   1 platform
#   2 app        the core: timer, input, render, options, script. The game loop, the game
#                states and start-up still live in app/ and include everything; they are
#                on their way out of it, and until then their includes count as upward.
#   3 world
#   4 content
#   5 audio      below dialog and media: it includes only platform, and media uses it
#   6 dialog, media
#                one layer: each includes the other today (dialog's box and the slideshow
#                use each other), two includes each way, so neither order has fewer breaks
#   7 play
#   8 ui, editor one layer, but apart: neither may include the other
#   9 tools, fuzz, bench
# Folders outside the table (tests, data) are not checked, and includes of them are skipped.
#
# Usage: scripts/check-layers.sh [--root DIR]   (DIR defaults to this repository)
set -euo pipefail

# folder  layer
LAYERS='
platform 1
app      2
world    3
content  4
audio    5
dialog   6
media    6
play     7
ui       8
editor   8
tools    9
fuzz     9
bench    9
'

# Folders on one layer that must still not include each other.
APART='
ui editor
'

# Files that sit above every layer, whatever their folder says. Keep this short.
TOP_FILES='
app/main.cpp
'
# app/main.cpp: the program itself; it registers every screen at start-up, so it sees them all.

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
