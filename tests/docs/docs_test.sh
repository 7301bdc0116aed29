#!/usr/bin/env bash
# Checks that scripts/docs.sh fails for the faults it exists to catch, on copies of the repository's
# header: each case breaks one thing and names what the failure must mention. The reference of the
# header as it stands is built by the `docs` test.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Drops the comment block right above the declaration line given (matched exactly).
strip_doc() {
  awk -v decl="$1" '
    /^ *\/\/\// { held = held $0 "\n"; next }
    { if ($0 != decl) printf "%s", held; held = ""; print }
  ' "$2" >"$2.new" && mv "$2.new" "$2"
}

failures=0
run_case() {  # name, expected text in the failure, then the command that breaks the copy
  local name=$1 expect=$2
  shift 2
  local case_root="$work/$name"
  mkdir -p "$case_root"
  cp -r "$root/scripts" "$root/docs" "$root/include" "$root/src" "$root/README.md" \
    "$root/CMakeLists.txt" "$case_root/"
  (cd "$case_root" && "$@")
  local output status=0
  output=$("$case_root/scripts/docs.sh" "$case_root/out" 2>&1) || status=$?
  if [ "$expect" = "pass" ]; then
    [ "$status" -eq 0 ] && return 0
    echo "FAIL $name: expected success, got status $status:"$'\n'"$output"
  elif [ "$status" -eq 0 ]; then
    echo "FAIL $name: expected a failure mentioning '$expect', got success"
  elif ! grep -qF -- "$expect" <<<"$output"; then
    echo "FAIL $name: the failure does not mention '$expect':"$'\n'"$output"
  else
    return 0
  fi
  failures=$((failures + 1))
}

# A case for each kind of fault, and the unbroken copy as the control.
run_case unbroken pass true
run_case built_member_lost_its_comment "fnIMG_Flip" \
  strip_doc "  int fnIMG_Flip(int mode);" include/CLamina.h
run_case parameter_left_out "x2" sed -i '/@param x2 /d' include/CLamina.h
run_case platform_type_undocumented "GlobalSize" \
  strip_doc "LAMINA_API SIZE_T GlobalSize(HGLOBAL handle);" include/lamina/memory.h

[ "$failures" -eq 0 ] && echo "docs checks: all cases behave"
exit "$failures"
