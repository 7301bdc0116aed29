#!/usr/bin/env bash
# scripts/docs.sh [OUTDIR]: builds the HTML reference of the public interface with doxygen into
# OUTDIR/html (default build/docs/html; open index.html) and fails when the header leaves a member
# undocumented, a parameter or result unexplained, or a reference broken.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build/docs}" && cd "${1:-$root/build/docs}" && pwd)

if ! command -v doxygen >/dev/null 2>&1; then
  "$root/scripts/setup.sh" --docs
fi

log="$out/warnings.log"
rm -f "$log"
version=$(sed -n 's/^project(Lamina VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
status=0
LAMINA_ROOT="$root" LAMINA_DOCS_OUT="$out" LAMINA_VERSION="$version" \
  doxygen "$root/docs/Doxyfile" || status=$?

# Every warning is a failure: a member, parameter or result left unexplained, or a broken reference.
left=$(cat "$log" 2>/dev/null || true)

if [ -n "$left" ]; then
  echo "$left" >&2
  echo "docs: $(grep -c ': \(warning\|error\): ' <<<"$left") problem(s) in the reference" >&2
  exit 1
fi
if [ "$status" -ne 0 ] && [ ! -s "$log" ]; then
  echo "docs: doxygen failed (status $status)" >&2
  exit 1
fi
if [ ! -f "$out/html/index.html" ]; then
  echo "docs: no reference was written to $out/html" >&2
  exit 1
fi
echo "docs: $out/html/index.html"
