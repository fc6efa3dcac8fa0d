#!/usr/bin/env bash
# Rewrites the README's table of the Vollo namespace from the list in
# lib/vollo_namespace.h (the namespace tests check that the two agree).
# Usage: tools/namespace_table.sh
set -euo pipefail
cd "$(dirname "$0")/.."
begin='<!-- vollo namespace: made by tools/namespace_table.sh from lib/vollo_namespace.h -->'
end='<!-- end of the vollo namespace -->'

# The preprocessor expands the lists; each entry comes out as "@ROW first second".
expand() {
  printf '#include "vollo_namespace.h"\n%s\n' "$1" |
    g++ -E -P -x c++ -Ilib -D'ROW(a,b)=@ROW a b' - | tr '@' '\n' | sed -n 's/^ROW //p'
}
table=$(mktemp)
trap 'rm -f "$table" README.md.new' EXIT
{
  echo "$begin"
  echo '| Constant | Function |'
  echo '|---|---|'
  expand 'VOLLO_NAMESPACE(ROW)' | while read -r constant function; do
    echo "| \`Vollo::$constant\` | \`$function\` |"
  done
  echo
  echo 'Without a constant:'
  expand 'VOLLO_NAMESPACE_EXCEPTIONS(ROW)' | while read -r function reason; do
    echo "- \`$function\`: ${reason//\"/}"
  done
  echo "$end"
} >"$table"

# The block replaces the one between the markers, or is added at the end.
if grep -qF "$begin" README.md; then
  awk -v begin="$begin" -v end="$end" -v table="$table" '
    $0 == begin { while ((getline line < table) > 0) print line; skip = 1; next }
    $0 == end { skip = 0; next }
    !skip { print }' README.md >README.md.new
else
  { cat README.md; echo; cat "$table"; } >README.md.new
fi
mv README.md.new README.md
