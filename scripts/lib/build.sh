#!/bin/sh
# SPDX-FileCopyrightText: 2026 Ravolt
# SPDX-License-Identifier: MIT
# Builds Zefmor for x86 and x64 into build/x86 and build/x64:
#   scripts/lib/build.sh          everything, the tests too (ZEFMOR_TESTS=OFF: without them);
#                                 `ctest --test-dir build` then runs the suites of both architectures
#   scripts/lib/build.sh TARGET   only TARGET (Zefmor: the program), leaving whether a folder builds
#                                 its tests as it was (a new folder builds them), unless ZEFMOR_TESTS says
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${ZEFMOR_BUILD_DIR:-$root/build}
target=${1:-}
testing=
if [ -z "$target" ] || [ -n "${ZEFMOR_TESTS:-}" ]; then
    testing=-DBUILD_TESTING=${ZEFMOR_TESTS:-ON}
fi

for arch in x86 x64; do
    case $arch in
        x86) toolchain=$root/cmake/toolchain-i686.cmake ;;
        x64) toolchain=$root/cmake/toolchain-x86_64.cmake ;;
    esac
    cmake -S "$root" -B "$build/$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
          -DCMAKE_BUILD_TYPE=MinSizeRel $testing >/dev/null
    cmake --build "$build/$arch" --parallel "$(nproc)" ${target:+--target "$target"}
done
printf 'subdirs("x86")\nsubdirs("x64")\n' > "$build/CTestTestfile.cmake"
