#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted as .clang-format says; lists the files.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format || command -v clang-format-14)
bad=()
while IFS= read -r -d '' f; do
    "$format" --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files -z '*.cpp' '*.h')
if [ ${#bad[@]} -ne 0 ]; then
    printf 'Not formatted (run: cmake --build <dir> --target format):\n' >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "clang-format: every file formatted"
