#!/usr/bin/env bash
# Builds the library and runs the command-line program `lamina` with the given arguments (with none,
# it writes its test pictures into the current folder and describes them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
exec "$root/build/lamina" "$@"
