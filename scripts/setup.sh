#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine (compiler, CMake, Ninja,
# GoogleTest, Google Benchmark, libpng and libjpeg for Lamina::formats, pkg-config for the
# installed-package test, the X11 pieces the display tests use) and the independent decoders some
# tests compare with (netpbm, ImageMagick, Pillow; those tests are skipped where they are missing).
# Does nothing when everything is already there. With --docs it also installs doxygen, which only
# scripts/docs.sh needs (the tests run it where it is installed).
set -euo pipefail
need=()
if [ "${1-}" = "--docs" ]; then
  command -v doxygen >/dev/null 2>&1 || need+=(doxygen)
fi
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v ninja >/dev/null 2>&1 || need+=(ninja-build)
command -v pkg-config >/dev/null 2>&1 || need+=(pkg-config)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev libgmock-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
[ -f /usr/include/png.h ] || need+=(libpng-dev)
[ -f /usr/include/jpeglib.h ] || need+=(libjpeg62-turbo-dev)
command -v bmptopnm >/dev/null 2>&1 || need+=(netpbm)
# Drawing into X11 and the monitor report build against Xlib and XRandR (both optional to the
# library); the display tests run against virtual X servers (scripts/xvfb.sh).
[ -f /usr/include/X11/Xlib.h ] || need+=(libx11-dev)
[ -f /usr/include/X11/extensions/Xrandr.h ] || need+=(libxrandr-dev)
command -v Xvfb >/dev/null 2>&1 || need+=(xvfb)
[ -x /usr/bin/convert ] || need+=(imagemagick)
python3 -c 'import PIL' >/dev/null 2>&1 || /usr/bin/python3 -c 'import PIL' >/dev/null 2>&1 ||
  need+=(python3-pil)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "setup: installing ${need[*]}" >&2
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}"
fi
