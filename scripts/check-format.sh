#!/usr/bin/env bash
# Checks that the C++ sources keep the layout of .clang-format: clang-format --dry-run
# --Werror over src, tests, bench and fuzz. Different clang-format releases lay out some
# constructs differently, so the check runs only with the release the tree was formatted
# with (major version 14, Debian's clang-format package); without it, or with another
# release, it says so and passes. Coefficient tables stay between
# "// clang-format off" and "// clang-format on".
set -euo pipefail
cd "$(dirname "$0")/.."
want="${KELVANE_CLANG_FORMAT_MAJOR:-14}"
if ! command -v clang-format > /dev/null; then
  echo "check-format: clang-format is not installed; style not checked"
  exit 0
fi
major="$(clang-format --version | sed -n 's/.*version \([0-9][0-9]*\).*/\1/p')"
if [ "$major" != "$want" ]; then
  echo "check-format: clang-format ${major:-of unknown version} is not release ${want}; style not checked"
  exit 0
fi
files=()
count=0
while IFS= read -r -d '' f; do
  files+=("$f")
  count=$((count + 1))
done < <(find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "check-format: the files above differ from .clang-format; run clang-format -i on them" >&2
  exit 1
fi
echo "check-format: ${count} files follow .clang-format"
