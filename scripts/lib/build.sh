#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Builds Zefmor.exe (and its tests) for x86 and x64 into build/x86 and build/x64.
# `ctest --test-dir build` then runs the suites of both architectures.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${ZEFMOR_BUILD_DIR:-$root/build}
testing=${ZEFMOR_TESTS:-ON}

for arch in x86 x64; do
    case $arch in
        x86) toolchain=$root/cmake/toolchain-i686.cmake ;;
        x64) toolchain=$root/cmake/toolchain-x86_64.cmake ;;
    esac
    cmake -S "$root" -B "$build/$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
          -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING="$testing" >/dev/null
    cmake --build "$build/$arch" --parallel "$(nproc)"
done
printf 'subdirs("x86")\nsubdirs("x64")\n' > "$build/CTestTestfile.cmake"
