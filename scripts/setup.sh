#!/usr/bin/env bash
# Installs what the build needs on a fresh Debian machine (compiler, CMake, Ninja, GoogleTest,
# Google Benchmark). Does nothing when everything is already there.
set -euo pipefail
need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v ninja >/dev/null 2>&1 || need+=(ninja-build)
# pkg-config: the installed-package test builds a program with it.
command -v pkg-config >/dev/null 2>&1 || need+=(pkg-config)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev libgmock-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
# netpbm decodes written BMP files in one test (which is skipped without it).
command -v bmptopnm >/dev/null 2>&1 || need+=(netpbm)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}"
fi
