#!/usr/bin/env bash
# format_check.sh SOURCE_DIR: every C++ file that git tracks is formatted as .clang-format says.
# Prints each file that is not, and "N passed, N failed".
set -uo pipefail
cd "$1"
passed=0
failed=0
while IFS= read -r file; do
    if clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        passed=$((passed + 1))
    else
        echo "not formatted: $file (clang-format -i $file)"
        failed=$((failed + 1))
    fi
done < <(git ls-files '*.cpp' '*.h')
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
