#!/usr/bin/env bash
# Runs a command with the Wine prefix of build tree $1 lacking its "MS Sans Serif" font files,
# and puts them back however the command ends (also those a killed run left aside).
#   without_dialog_font.sh <build> <command...>
set -euo pipefail
build=$1; shift
fonts="$build/wineprefix/drive_c/windows/Fonts"
aside="$build/wineprefix/dialog-font-aside"
restore() { if [[ -d "$aside" ]]; then mv -f "$aside"/* "$fonts"/ 2>/dev/null || true; rmdir "$aside"; fi; }
restore
# The prefix is made, with its fonts, by its first program: make sure this is not that one.
QKLI_BUILD=$build "$@" --gtest_list_tests >/dev/null
trap restore EXIT
mkdir -p "$aside"
# Wine's "MS Sans Serif": the TrueType file and the bitmap sizes of each code page.
for font in "$fonts"/ms_sans_serif.ttf "$fonts"/sserif*.fon "$fonts"/ssee*.fon "$fonts"/ssef*.fon; do
  [[ -e "$font" ]] && mv "$font" "$aside"/
done
QKLI_BUILD=$build "$@"
