#!/usr/bin/env bash
# The translations: the template lists exactly the texts the sources look up (made afresh and
# compared both ways), and every po/<language>.po compiles, translates each of them and has
# nothing fuzzy.
#   po_test.sh SOURCE_FOLDER VERSION
set -uo pipefail
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

sh "$src/scripts/make_pot.sh" "$src" "$work/fresh.pot" "$2" || fail "xgettext"
# msgcmp DEF REF: each text of REF must stand in DEF (translated, untranslated allowed here).
msgcmp -N --use-untranslated "$src/po/vorblin.pot" "$work/fresh.pot" ||
  fail "texts in the sources are missing from po/vorblin.pot: make the target vorblin_pot"
msgcmp -N --use-untranslated "$work/fresh.pot" "$src/po/vorblin.pot" ||
  fail "po/vorblin.pot holds texts the sources no longer have: make the target vorblin_pot"

for po in "$src"/po/*.po; do
  stats=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1) || fail "msgfmt: $stats"
  echo "$(basename "$po"): $stats"
  case $stats in *fuzzy* | *untranslated*) fail "$(basename "$po") is not complete" ;; esac
  # Without --use-untranslated or --use-fuzzy, a text counts only when translated.
  msgcmp -N "$po" "$src/po/vorblin.pot" || fail "$(basename "$po") lacks texts: msgmerge it"
done
exit $status
