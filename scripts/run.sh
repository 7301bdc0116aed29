#!/usr/bin/env bash
# Builds the library and the command-line program `lamina` and runs it with the given arguments
# (with none, it writes its test pictures into the current folder and describes them). The build's
# progress goes to standard error, so that the program's output stays apart; only what `lamina`
# needs is built (the tests and benchmarks are left to scripts/test.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
gen=()
command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
if [ ! -f "$root/build/CMakeCache.txt" ]; then
  echo "run: configuring the build in $root/build" >&2
  cmake -S "$root" -B "$root/build" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release >&2
fi
echo "run: building lamina" >&2
cmake --build "$root/build" --target lamina -j "$(nproc)" >&2
exec "$root/build/lamina" "$@"
