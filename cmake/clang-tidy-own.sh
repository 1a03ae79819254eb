#!/usr/bin/env bash
# CMAKE_CXX_CLANG_TIDY's command: clang-tidy on the project's own files, not on those generated in
# the build tree (moc, rcc), which follow Qt's names.
# Usage: clang-tidy-own.sh BUILD_DIR CLANG_TIDY ARGS..., ARGS as CMake passes them: the options,
# the source file, "--", the compile command.
set -euo pipefail
build=$1
shift
for arg in "${@:2}"; do
    [[ $arg == -- ]] && break
    [[ $arg == "$build"/* ]] && exit 0
done
exec "$@"
