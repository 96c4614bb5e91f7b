#!/usr/bin/env bash
# What `cmake --install` puts where, and that the result is relocatable.
source "$(dirname "$0")/lib.sh"
prefix="$WORK/prefix"
install_into "$prefix"
data="$prefix/share/tirevane"

# 1. Exactly the expected files: the program, the launcher, every asset of
#    the source tree byte for byte, the fonts and their licences, the desktop
#    entry, the icon and the documentation; nothing from tests or tools.
expected="$WORK/expected"
{
  echo games/tirevane
  echo libexec/tirevane/tirevane
  echo libexec/tirevane/tirevane-wma-decoder
  echo share/applications/tirevane.desktop
  echo share/icons/hicolor/128x128/apps/tirevane.png
  echo share/icons/hicolor/48x48/apps/tirevane.png
  echo share/metainfo/io.github.tirevane.Tirevane.metainfo.xml
  echo share/man/man6/tirevane.6.gz
  echo share/doc/tirevane/LICENSE
  echo share/doc/tirevane/README.md
  echo share/doc/tirevane/changelog.gz
  echo share/doc/tirevane/copyright
  echo share/tirevane/alphamalemodern.ttf
  echo share/tirevane/spaceage.ttf
  (cd "$SOURCE_DIR" && find System fonts-LICENSE -type f ! -name .gitattributes) |
    sed 's|^|share/tirevane/|'
} | sort >"$expected"
(cd "$prefix" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$WORK/installed"
diff -u "$expected" "$WORK/installed" || fail "installed files differ from the expected list"

for f in System fonts-LICENSE alphamalemodern.ttf spaceage.ttf; do
  diff -r --exclude=.gitattributes "$SOURCE_DIR/$f" "$data/$f" >/dev/null ||
    fail "installed $f differs from the source tree"
done
[ "$(head -c4 "$prefix/libexec/tirevane/tirevane" | od -An -c | tr -d ' ')" = '177ELF' ] ||
  fail "the installed program is not an executable file"
[ -x "$prefix/libexec/tirevane/tirevane" ] || fail "the installed program is not executable"
# The game looks for its WMA decoder beside itself; the decoder alone maps
# FFmpeg, the game neither FFmpeg nor OpenAL.
"$prefix/libexec/tirevane/tirevane-wma-decoder" "$SOURCE_DIR/System/Sounds/heavy_weapon.wma" \
  >"$WORK/decoded" || fail "the installed WMA decoder failed with status $?"
[ "$(head -c 4 "$WORK/decoded")" = TVPC ] || fail "the installed WMA decoder does not decode"
game_libs="$(ldd "$prefix/libexec/tirevane/tirevane")"
if echo "$game_libs" | grep -E 'libav|libswresample|libopenal'; then
  fail "the game links FFmpeg or OpenAL"
fi
# Read whole first: grep -q would stop reading early and, under pipefail,
# fail the pipeline through ldd's SIGPIPE.
decoder_libs="$(ldd "$prefix/libexec/tirevane/tirevane-wma-decoder")"
case "$decoder_libs" in
  *libavcodec*) ;;
  *) fail "the installed WMA decoder does not link FFmpeg" ;;
esac
[ -x "$prefix/games/tirevane" ] || fail "the launcher is not executable"

# 2. The desktop entry validates, and its command and icon name what was
#    installed.
desktop="$prefix/share/applications/tirevane.desktop"
out="$(desktop-file-validate "$desktop" 2>&1)" || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate warns: $out"
exec_name="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
[ -x "$prefix/games/$exec_name" ] || fail "the desktop entry runs '$exec_name', not the launcher"
icon_name="$(sed -n 's/^Icon=//p' "$desktop")"
[ -f "$prefix/share/icons/hicolor/128x128/apps/$icon_name.png" ] || fail "no icon named '$icon_name'"

# 3. Each icon is a PNG of the size its folder names.
for size in 48 128; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/tirevane.png"
  [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] ||
    fail "the ${size}px icon is $(identify -format '%m %wx%h' "$icon")"
done

# 4. Relocatable: a staged (DESTDIR) installation and a moved prefix both
#    still find their data and program.
DESTDIR="$WORK/stage" cmake --install "$BUILD_DIR" --prefix /usr/local >"$WORK/stage.log" 2>&1 ||
  fail "DESTDIR install failed: $(cat "$WORK/stage.log")"
out="$(dry_run "$WORK/stage/usr/local/games/tirevane" HOME="$WORK/home1")" ||
  fail "the staged launcher failed: $out"
echo "$out" | grep -qx "game program: $WORK/stage/usr/local/libexec/tirevane/tirevane" ||
  fail "the staged launcher runs the wrong program: $out"
mv "$prefix" "$WORK/moved"
out="$(dry_run "$WORK/moved/games/tirevane" HOME="$WORK/home2")" || fail "the moved launcher failed: $out"
[ "$(readlink "$WORK/home2/.local/share/tirevane/spaceage.ttf")" = "$WORK/moved/share/tirevane/spaceage.ttf" ] ||
  fail "the moved launcher links the wrong font"
echo "install layout passed"
