#!/usr/bin/env bash
# fuzz/run.sh SECONDS [TARGET ...]: builds the libFuzzer targets (bmp, raw, pgm, jasc, handle, and
# png, jpeg over Lamina::formats with libpng and libjpeg) with AddressSanitizer and
# UndefinedBehaviorSanitizer, compiling the library sources directly, and runs each for SECONDS,
# one after the other, seeded with the files of tests/data (png and jpeg with the PNG and JPEG
# files only). Not part of CI.
# Output in fuzz/build/: <target>.log, the grown corpus in corpus/<target>, crashes in artifacts/.
set -uo pipefail
secs=${1:-60}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/fuzz/build
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(bmp raw pgm jasc handle png jpeg)
CXX=${CXX:-clang++}
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer -ffp-contract=off -fno-fast-math
       -fsanitize=address,undefined -fno-sanitize-recover=undefined
       -I"$root/include" -I"$root/src" -DLAMINA_BUILDING)
mkdir -p "$out/obj" "$out/artifacts" "$out/tmp"
export TMPDIR=$out/tmp  # the palette target writes its inputs as files there

# The library, one object per source, rebuilt when the source or any header is newer.
objs=()
while IFS= read -r src; do
  rel=${src#"$root"/src/}
  obj=$out/obj/${rel//\//_}.o
  objs+=("$obj")
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] ||
     find "$root/include" "$root/src" -name '*.h' -newer "$obj" | grep -q .; then
    echo "compiling $rel"
    "$CXX" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj" || exit 1
  fi
done < <(find "$root/src" -name '*.cpp' | sort)

# The formats library, for the png and jpeg targets.
fobjs=()
while IFS= read -r src; do
  obj=$out/obj/formats_$(basename "$src" .cpp).o
  fobjs+=("$obj")
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] ||
     find "$root/include" "$root/src" "$root/formats" -name '*.h' -newer "$obj" | grep -q .; then
    echo "compiling formats/$(basename "$src")"
    "$CXX" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj" || exit 1
  fi
done < <(find "$root/formats" -name '*.cpp' | sort)

max_len() {
  case $1 in
    raw) echo 70000 ;;
    bmp | handle | png | jpeg) echo 65536 ;;
    *) echo 16384 ;;
  esac
}

status=0
for t in "${targets[@]}"; do
  echo "building ${t}_fuzz"
  extra=()
  case $t in png | jpeg) extra=("${fobjs[@]}" -lpng -ljpeg) ;; esac
  "$CXX" "${flags[@]}" -fsanitize=fuzzer "$root/fuzz/${t}_fuzz.cpp" "${objs[@]}" "${extra[@]}" \
    -o "$out/${t}_fuzz" || exit 1
  corpus=$out/corpus/$t
  seeds=$out/seeds/$t
  mkdir -p "$corpus" "$seeds"
  case $t in
    png) find "$root/tests/data" -type f -name '*.png' -exec cp -f {} "$seeds/" \; ;;
    jpeg) find "$root/tests/data" -type f -name '*.jpg' -exec cp -f {} "$seeds/" \; ;;
    *) find "$root/tests/data" -type f ! -name '*.md' ! -name '*.png' ! -name '*.jpg' \
         -exec cp -f {} "$seeds/" \; ;;
  esac
  if [ "$t" = handle ]; then
    # A BMP file without its 14-byte file header is a packed bitmap.
    for f in "$root"/tests/data/bmpsuite/g/*.bmp; do
      tail -c +15 "$f" > "$seeds/dib_$(basename "$f" .bmp)"
    done
  fi
  echo "running ${t}_fuzz for ${secs}s"
  "$out/${t}_fuzz" -max_total_time="$secs" -max_len="$(max_len "$t")" -rss_limit_mb=2048 \
    -artifact_prefix="$out/artifacts/${t}-" -print_final_stats=1 "$corpus" "$seeds" \
    > "$out/${t}.log" 2>&1
  rc=$?
  grep -E '^#[0-9]+.*DONE|stat::number_of_executed_units|stat::average_exec_per_sec|ERROR|SUMMARY' "$out/${t}.log" | tail -5
  [ $rc -ne 0 ] && { echo "${t}_fuzz stopped with $rc: see $out/${t}.log"; status=1; }
done
rm -f "$out"/tmp/lamina_jasc_fuzz_*.pal
exit $status
