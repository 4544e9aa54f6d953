#!/usr/bin/env bash
# The manual page and the bash completion must name every option that the --help of
# kelvane-cli and of its subcommands prints; a new option without its documentation
# fails here rather than in the package check.
set -euo pipefail
cli=$1 man_page=$2 completion=$3
man_text=$(sed 's/\\-/-/g' "$man_page")
options=$({ "$cli" --help; "$cli" table --help; "$cli" saturation --help; "$cli" verify --help; } |
  grep -o -- '--[A-Za-z][A-Za-z-]*' | sort -u)
[ "$(wc -w <<< "$options")" -ge 20 ] || { echo "too few options found in --help: $options"; exit 1; }
missing=0
for o in $options; do
  grep -q -- "$o" <<< "$man_text" || { echo "the manual page does not name $o"; missing=1; }
  grep -q -- "$o\b" "$completion" || { echo "the bash completion does not offer $o"; missing=1; }
done
bash -n "$completion"
exit $missing
