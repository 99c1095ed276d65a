#!/bin/sh
# Makes the translators' template from the game's sources: every text looked up with Tr or
# marked with N_, in the order the sources give them, each with the files it stands in.
#   make_pot.sh SOURCE_FOLDER OUTPUT VERSION
set -eu
cd "$1"
find app src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort |
  xargs xgettext --language=C++ --from-code=UTF-8 --keyword= --keyword=Tr --keyword=N_ --keyword=X:7 \
    --add-location=file --package-name=vorblin --package-version="$3" \
    --msgid-bugs-address=vorblin@users.noreply.github.com --copyright-holder="The Vorblin Cascade developers" \
    -o "$2"
