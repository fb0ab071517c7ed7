#!/usr/bin/env bash
# Fails on any C++ source that clang-format would change, naming the files.
set -euo pipefail
cd "$(dirname "$0")/../.."
command -v clang-format >/dev/null || {
    echo "format: clang-format is not installed (apt-get install clang-format)"
    exit 1
}
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "format: every source as clang-format writes it"
