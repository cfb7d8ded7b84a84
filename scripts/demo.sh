#!/usr/bin/env bash
# The first thing to run: installs what is missing, builds the host and the module
# (Release, in build/demo), runs every examples/*.txt script through quenra3d and saves the
# drawing and its meshes into out/ (demo.q3d, demo.obj with demo.mtl, transcript.txt).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=build/demo
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target quenra3d lumidrax

mkdir -p out
shopt -s nullglob
examples=(examples/*.txt)
if ((${#examples[@]} == 0)); then
  echo "demo: no scripts in examples/" >&2
  exit 1
fi
status=0
"$build/bin/quenra3d" --save out/demo.q3d --obj out/demo.obj "${examples[@]}" | tee out/transcript.txt ||
  status=${PIPESTATUS[0]}
if ((status != 0)); then
  echo "demo: quenra3d ended with status $status (see out/transcript.txt)" >&2
  exit "$status"
fi
echo "demo: drawing out/demo.q3d, meshes out/demo.obj (with out/demo.mtl), transcript out/transcript.txt"
