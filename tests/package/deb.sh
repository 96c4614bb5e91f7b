#!/usr/bin/env bash
# cpack -G DEB makes tirevane_VERSION_ARCH.deb with the program, launcher,
# data and desktop files, its dependencies found by dpkg-shlibdeps, and
# leaves it in the build folder for the lintian and session tests.
source "$(dirname "$0")/lib.sh"
rm -rf "$PACKAGE_OUT"
mkdir -p "$PACKAGE_OUT"
(cd "$BUILD_DIR" && cpack -G DEB --config CPackConfig.cmake -B "$PACKAGE_OUT") >"$PACKAGE_OUT/cpack.log" 2>&1 ||
  pkg_fail "cpack failed: $(tail -n 20 "$PACKAGE_OUT/cpack.log")"
rm -rf "$PACKAGE_OUT/_CPack_Packages"
deb="$(the_package)"
arch="$(dpkg --print-architecture)"
[ "$(basename "$deb")" = "tirevane_$(game_version)_$arch.deb" ] || pkg_fail "package named $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tirevane ] || pkg_fail "Package: $(field Package)"
[ "$(field Version)" = "$(game_version)" ] || pkg_fail "Version: $(field Version)"
[ "$(field Section)" = games ] || pkg_fail "Section: $(field Section)"
[ "$(field Homepage)" = https://tirevane.github.io/ ] || pkg_fail "Homepage: $(field Homepage)"
[ -n "$(field Maintainer)" ] || pkg_fail "no Maintainer"
[ "$(field Description | wc -l)" -gt 3 ] || pkg_fail "no long description"
# Every library the programs link comes out of dpkg-shlibdeps: the game's,
# and FFmpeg's through the WMA decoder beside it.
depends="$(field Depends)"
for lib in libsdl1.2debian libsdl-ttf2.0-0 libmpg123-0 libavcodec59 libavformat59 libc6 libstdc++6; do
  echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qxF "$lib" ||
    pkg_fail "Depends lacks $lib: $depends"
done

dpkg-deb -c "$deb" | awk '{print $1, $6}' | sed 's|\./||' >"$PACKAGE_OUT/contents"
for entry in \
  "-rwxr-xr-x usr/games/tirevane" \
  "-rwxr-xr-x usr/libexec/tirevane/tirevane" \
  "-rwxr-xr-x usr/libexec/tirevane/tirevane-wma-decoder" \
  "-rw-r--r-- usr/share/applications/tirevane.desktop" \
  "-rw-r--r-- usr/share/icons/hicolor/48x48/apps/tirevane.png" \
  "-rw-r--r-- usr/share/icons/hicolor/128x128/apps/tirevane.png" \
  "-rw-r--r-- usr/share/man/man6/tirevane.6.gz" \
  "-rw-r--r-- usr/share/metainfo/io.github.tirevane.Tirevane.metainfo.xml" \
  "-rw-r--r-- usr/share/doc/tirevane/copyright" \
  "-rw-r--r-- usr/share/doc/tirevane/changelog.gz" \
  "-rw-r--r-- usr/share/tirevane/System/01/config.conf" \
  "-rw-r--r-- usr/share/tirevane/spaceage.ttf" \
  "-rw-r--r-- usr/share/tirevane/fonts-LICENSE/Apache-2.0.txt"; do
  grep -qxF -- "$entry" "$PACKAGE_OUT/contents" || pkg_fail "the package lacks $entry"
done
[ "$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)" = root/root ] || pkg_fail "files not owned by root"
echo "package $(basename "$deb") passed"
