#!/usr/bin/env bash
# scripts/build.sh DIR [cmake options...]: configures and builds into DIR.
set -euo pipefail
dir=$1; shift
gen=()
command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
cmake -S "$(dirname "$0")/.." -B "$dir" "${gen[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
