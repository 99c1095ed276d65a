#!/usr/bin/env bash
# The template lists exactly the texts the sources look up (made afresh, compared both ways);
# every po/<language>.po compiles, translates each of them and has nothing fuzzy.
#   po_test.sh SOURCE_FOLDER VERSION
set -uo pipefail
src=$1 work=$(mktemp -d) status=0
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; status=1; }
sh "$src/scripts/make_pot.sh" "$src" "$work/fresh.pot" "$2" || fail "xgettext"
# msgcmp DEF REF: each text of REF stands in DEF; untranslated counts only with the option.
msgcmp -N --use-untranslated "$src/po/vorblin.pot" "$work/fresh.pot" &&
  msgcmp -N --use-untranslated "$work/fresh.pot" "$src/po/vorblin.pot" ||
  fail "po/vorblin.pot is not the sources' texts: make the target vorblin_pot"
for po in "$src"/po/*.po; do
  stats=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1) || fail "msgfmt: $stats"
  echo "${po##*/}: $stats"
  case $stats in *fuzzy* | *untranslated*) fail "${po##*/} is not complete" ;; esac
  msgcmp -N "$po" "$src/po/vorblin.pot" || fail "${po##*/} lacks texts: msgmerge it"
done
exit $status
