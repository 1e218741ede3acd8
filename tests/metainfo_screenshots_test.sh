#!/usr/bin/env bash
# Every screenshot the AppStream metadata names is one of ours: a PNG in dist/screenshots/
# (published under the home page) of the size the metadata states, and every picture there is
# named. The home page and the screenshots' addresses stay on the project's own domain.
set -euo pipefail
python3 - "$1" <<'PY'
import pathlib, struct, sys, xml.etree.ElementTree as ET

dist = pathlib.Path(sys.argv[1])
root = ET.parse(dist / "org.quillmere.Quillmere.metainfo.xml").getroot()
site = "https://quillmere.org/"
failures = []
homepage = [u.text for u in root.findall("url") if u.get("type") == "homepage"]
if homepage != [site]:
    failures.append(f"home page {homepage}, not {site}")
if not (root.findtext("project_license") or "").strip():
    failures.append("no project_license")
named = set()
for image in root.iter("image"):
    url = image.text.strip()
    if not url.startswith(site + "screenshots/"):
        failures.append(f"{url}: not under {site}screenshots/")
        continue
    name = url.rsplit("/", 1)[1]
    named.add(name)
    path = dist / "screenshots" / name
    if not path.is_file():
        failures.append(f"{url}: no {path}")
        continue
    head = path.read_bytes()[:24]
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        failures.append(f"{path}: not a PNG")
        continue
    size = struct.unpack(">II", head[16:24])
    stated = (int(image.get("width")), int(image.get("height")))
    if size != stated:
        failures.append(f"{path}: {size[0]}x{size[1]}, the metadata says {stated[0]}x{stated[1]}")
if not named:
    failures.append("no screenshots")
for path in sorted((dist / "screenshots").glob("*")):
    if path.name not in named:
        failures.append(f"{path}: named by no screenshot")
for f in failures:
    print(f)
sys.exit(1 if failures else 0)
PY
