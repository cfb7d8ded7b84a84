#!/usr/bin/env bash
# Installs what the build needs on a Debian machine, only what is missing.
set -euo pipefail

packages=(
  g++ cmake make
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libfontconfig-dev
  libpolyclipping-dev               # Clipper: the roof-face union's integer clipping, and an oracle
  libcgal-dev                       # independent oracle for the kernel's tests and benchmarks
  libboost-dev                      # Boost.Geometry, the independent clip of the toolkit's cut tests
  libgeos-dev                       # independent oracle for the planar polygon operations
  ccache                            # repeated builds (CMake uses it when present)
  librsvg2-bin libpng-dev           # the SVG export's pictures turned into PNG and read back in its tests
  fonts-wqy-microhei                # Chinese labels in those pictures
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
