#!/usr/bin/env bash
# The main job on the sample installation: builds the release preset, runs the viewer command in
# kestrix-host with the demo catalogue (the washer part, inserted at 100,50 turned by 30 degrees),
# saves the drawing as DXF, checks it with two independent DXF readers (ezdxf strictly, and GDAL's
# DXF driver: counts and extent) and renders it to a PNG picture.
# Output in build/release/sample/: transcript.txt, drawing.dxf, drawing.dump, drawing.png.
# KESTRIX_DEMO_PART picks another demo part (see tools/demo-catalogue/DemoParts.cpp).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

out=build/release/sample
rm -rf "$out"
mkdir -p "$out/c" "$out/registry"
# The configured exchange files live on drive c:, mapped here to a folder of the run.
export KESTRIX_DRIVES="c=$PWD/$out/c"
export KESTRIX_REGISTRY="$PWD/$out/registry"
export KESTRIX_DEMO_PART="${KESTRIX_DEMO_PART:-washer}"

cat > "$out/viewer.script" <<'SCRIPT'
# The user picks a part in the viewer; the plug-in builds it and the user drags it into place.
command TROVviewer
point 100,50
angle 30
SCRIPT

build/release/bin/kestrix-host --release 2000 --dxf "$out/drawing.dxf" --dump "$out/drawing.dump" \
  --transcript "$out/transcript.txt" "$out/viewer.script"
/usr/bin/python3 tests/host/dxf_check.py "$out/drawing.dxf" "$out/drawing.dump" --png "$out/drawing.png"
echo "sample run: $out/drawing.dxf, rendered to $out/drawing.png"
