#!/usr/bin/env bash
# Checks the tracked sources: the C and C++ files against clang-format's style (.clang-format),
# the shell scripts with shellcheck, and, when clang-tidy is installed, the names in the C++ code
# (.clang-tidy). Changes nothing; exits non-zero at the first kind of finding.
# Fix the format with: git ls-files -z '*.cpp' '*.h' '*.c' | xargs -0 clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -d '' sources < <(git ls-files -z -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')
echo "lint: clang-format on ${#sources[@]} C/C++ files"
clang-format --dry-run --Werror "${sources[@]}"

# Shell scripts: by their ending, or by a shell in the first line (.ci/run).
scripts=()
while IFS= read -r -d '' file; do
    [[ -f $file ]] || continue
    if [[ $file == *.sh ]] || head -n1 -- "$file" | grep -qE '^#!.*[/ ](ba)?sh$'; then
        scripts+=("$file")
    fi
done < <(git ls-files -z)
echo "lint: shellcheck on ${#scripts[@]} shell scripts"
# -x follows the `# shellcheck source=` lines, which name files from the repository's top.
shellcheck -x "${scripts[@]}"

# Names: clang-tidy's naming check (.clang-tidy: the conventions of docs/naming.md) on the C++
# files that the default build compiles, which it needs up to date for their compile commands and
# generated headers; a file passed before is checked again only when it changed.
if ! command -v clang-tidy >/dev/null; then
    echo "lint: clang-tidy is not installed; names not checked (scripts/setup.sh --test installs it)"
    echo "lint: clean"
    exit 0
fi
build_log=$(mktemp)
trap 'rm -f "$build_log"' EXIT
if ! { cmake --preset default && cmake --build --preset default; } >"$build_log" 2>&1; then
    cat "$build_log"
    echo "lint: the default build failed; names not checked"
    exit 1
fi
scripts/check-names.py build
echo "lint: clean"
