#!/usr/bin/env bash
# The template lists exactly the texts the sources look up (made afresh, compared both ways);
# every po/<language>.po compiles and translates each of them, none fuzzy (msgcmp counts a
# fuzzy or untranslated entry as missing).
#   po_test.sh SOURCE_FOLDER VERSION
set -u
source "$(dirname "$0")/../support/harness.sh"
pot=$1/po/vorblin.pot
ok "xgettext" sh "$1/scripts/make_pot.sh" "$1" "$work/fresh.pot" "$2"
ok "every text of the sources in po/vorblin.pot (make the target vorblin_pot)" msgcmp -N --use-untranslated "$pot" "$work/fresh.pot"
ok "no other text in po/vorblin.pot" msgcmp -N --use-untranslated "$work/fresh.pot" "$pot"
for po in "$1"/po/*.po; do
  ok "${po##*/} compiles" msgfmt --check -o /dev/null "$po"
  ok "${po##*/} translates every text, none fuzzy (msgmerge it)" msgcmp -N "$po" "$pot"
done
finish
