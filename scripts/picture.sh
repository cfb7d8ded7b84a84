#!/usr/bin/env bash
# Draws docs/demo-site.png, the picture of the demo site README shows, from the demo's out/demo.svg.
# Run it whenever the examples change what the site shows.
set -euo pipefail
cd "$(dirname "$0")/.." && scripts/demo.sh >/dev/null && rsvg-convert -w 800 out/demo.svg -o docs/demo-site.png
