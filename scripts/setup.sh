#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine (compiler, CMake, Ninja,
# GoogleTest, Google Benchmark, libpng and libjpeg for Lamina::formats, pkg-config for the
# installed-package test, the X11 pieces the display tests use) and the independent decoders some
# tests compare with (netpbm, ImageMagick, Pillow; those tests are skipped where they are missing),
# and for the Python module Debian's Python 3 headers, pybind11, numpy, Dask and pytest.
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
# The Python module and its tests use Debian's own interpreter and packages.
py=/usr/bin/python3
has_module() { [ -x $py ] && $py -c "import $1" >/dev/null 2>&1; }
[ -x $py ] || need+=(python3)
has_module PIL || need+=(python3-pil)
[ -x $py ] && [ -f "$($py -c 'import sysconfig; print(sysconfig.get_paths()["include"])')/Python.h" ] ||
  need+=(python3-dev)
[ -f /usr/include/pybind11/pybind11.h ] || need+=(pybind11-dev)
has_module pybind11 || need+=(python3-pybind11)
has_module numpy || need+=(python3-numpy)
has_module dask.bag || need+=(python3-dask)
has_module distributed || need+=(python3-distributed)
has_module pytest || need+=(python3-pytest)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "setup: installing ${need[*]}" >&2
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}"
fi
