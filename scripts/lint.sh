#!/usr/bin/env bash
# Checks the tracked sources: the C and C++ files against clang-format's style (.clang-format),
# the shell scripts with shellcheck. Changes nothing; exits non-zero at the first kind of finding.
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
echo "lint: clean"
