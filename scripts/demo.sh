#!/usr/bin/env bash
# The first thing to run: installs what is missing, builds the host and the module
# (Release, in build/demo), runs the examples/*.txt scripts through quenra3d in a fixed order and saves the
# drawing, its meshes and curves and two pictures of it into out/ (demo.q3d, demo.obj with demo.mtl,
# demo.svg seen from the south-west, plan.svg from above, transcript.txt).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=build/demo
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target quenra3d lumidrax

mkdir -p out
# The examples run in this order in one session: first-building.txt draws on the drawing
# old-model.txt replaces with one of its own, and labels.txt then starts the drawing the demo
# saves, so they come first; then the site and what builds on it. A script here that the list
# does not name is an error, so none is left out unseen.
order=(first-building.txt old-model.txt labels.txt 01-site.txt site.txt roof-shapes.txt naming.txt windows-2point.txt window-rows.txt
       analysis-groups.txt audits.txt import.txt contours.txt outlines.txt flat-and-slope-roofs.txt
       arched-roof.txt buildings.txt)
examples=()
for name in "${order[@]}"; do
  examples+=("examples/$name")
done
for file in examples/*.txt; do
  case " ${order[*]} " in
    *" $(basename "$file") "*) ;;
    *) echo "demo: $file is not in the demo's order (scripts/demo.sh)" >&2; exit 1 ;;
  esac
done
status=0
# The plan is exported by a last line read from standard input, the axonometric view by --svg.
echo "export svg out/plan.svg plan" |
  "$build/bin/quenra3d" --save out/demo.q3d --obj out/demo.obj --svg out/demo.svg "${examples[@]}" - |
  tee out/transcript.txt || status=${PIPESTATUS[1]}
if ((status != 0)); then
  echo "demo: quenra3d ended with status $status (see out/transcript.txt)" >&2
  exit "$status"
fi
echo "demo: drawing out/demo.q3d, meshes and curves out/demo.obj (with out/demo.mtl), pictures out/demo.svg and"
echo "      out/plan.svg (open them in a browser), transcript out/transcript.txt"
