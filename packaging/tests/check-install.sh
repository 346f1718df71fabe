#!/usr/bin/env bash
# Installs a build into a staging folder as a package would (DESTDIR, prefix /usr), or
# with --deb builds the Debian package and unpacks it there, and checks what a desktop
# expects of it: the layout, the libraries found beside the program, the desktop entry
# and metainfo through their validators, the MIME package through the shared MIME
# database, and the installed program starting and registering itself. The package must
# also declare the package of every library its binaries link.
set -euo pipefail
usage="usage: check-install.sh [--deb] BUILD_DIR"
deb=
if [ "${1:-}" = --deb ]; then
  deb=yes
  shift
fi
build=$(cd "${1:?$usage}" && pwd)
tmp=$(mktemp -d)
player=
cleanup() {
  if [ -n "$player" ]; then kill "$player" 2>/dev/null && wait "$player" || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

stage=$tmp/stage
if [ -n "$deb" ]; then
  (cd "$tmp" && cpack -G DEB -B "$tmp/package" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log") \
    || { cat "$tmp/cpack.log"; fail "cpack"; }
  deb=$(echo "$tmp"/package/zorvan_*.deb)
  [ -f "$deb" ] || fail "no package made"
  dpkg-deb -x "$deb" "$stage"
else
  DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
fi
usr=$stage/usr

# The layout.
for f in lib/zorvan/zorvan lib/zorvan/libSongmeta.so lib/zorvan/libCtxmenu.so \
         share/applications/zorvan.desktop share/metainfo/com.tavrel.Zorvan.metainfo.xml \
         share/mime/packages/zorvan.xml share/icons/hicolor/scalable/apps/zorvan.svg; do
  [ -f "$usr/$f" ] || fail "$f is not installed"
done
[ "$(readlink "$usr/bin/zorvan")" = ../lib/zorvan/zorvan ] || fail "bin/zorvan does not link to lib/zorvan/zorvan"
for size in 16 22 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/zorvan.png
  file -b "$png" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" || fail "$png: $(file -b "$png")"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/zorvan.svg" || fail "the scalable icon is no SVG"
for fm in nautilus:libnautilus-extension-4 caja:libcaja-extension nemo:libnemo-extension; do
  name=${fm%%:*}
  [ -f "$build/bin/libzorvan-$name.so" ] || continue
  module=$usr/$(pkg-config --variable=extensiondir "${fm#*:}" | sed 's|^/usr/||')/libzorvan-$name.so
  [ -f "$module" ] || fail "the $name module is not installed"
done
# Nothing of the build's own tools or tests.
extra=$(find "$usr" -type f -name '*test*' -o -type f -name 'version_record_tool' -o -type f -name 'zorvan_*')
[ -z "$extra" ] || fail "installed beside the program: $extra"

# The libraries are found beside the program, and only there. (ldd reads the program
# itself: through the link it takes $ORIGIN from the link's folder, the loader does not.)
for f in zorvan libSongmeta.so libCtxmenu.so; do
  runpath=$(readelf -d "$usr/lib/zorvan/$f" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
  [ "$runpath" = '$ORIGIN' ] || fail "$f has RUNPATH '$runpath'"
done
libs=$(ldd "$usr/lib/zorvan/zorvan")
grep -q "libSongmeta.so => $usr/lib/zorvan/libSongmeta.so" <<<"$libs" || fail "libSongmeta.so is not found beside the program"
! grep 'not found' <<<"$libs" || fail "unresolved libraries"

# Every library a binary needs comes with the package or from a package it depends on.
if [ -n "$deb" ]; then
  # The names of the packages depended on, one a line.
  depends=$(dpkg-deb -f "$deb" Depends | sed 's/ ([^)]*)//g; s/ *| */\n/g; s/, /\n/g')
  [ "$(dpkg-deb -f "$deb" Package)" = zorvan ] || fail "the package is not named zorvan"
  while IFS= read -r binary; do
    libs=$(ldd "$binary")
    for soname in $(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
      [ -e "$usr/lib/zorvan/$soname" ] && continue
      # "name => path", or the dynamic loader as a bare path.
      path=$(sed -n "s|^\s*$soname => \(/[^ ]*\).*|\1|p; s|^\s*\(/[^ ]*/$soname\) .*|\1|p" <<<"$libs")
      [ -n "$path" ] || fail "$binary: $soname is not found"
      owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")")
      owner=${owner%%:*}
      grep -qxF "$owner" <<<"$depends" || fail "$(basename "$binary") links $soname of $owner, which the package does not depend on"
    done
  done < <(find "$usr" -type f \( -name '*.so' -o -name zorvan \))
fi

# The validators.
desktop-file-validate "$usr/share/applications/zorvan.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/com.tavrel.Zorvan.metainfo.xml" >"$tmp/appstream.txt" 2>&1 \
  || { cat "$tmp/appstream.txt"; fail "appstreamcli validate"; }

# The MIME package, in a database of its own laid over the system's. The GNOME desktop
# makes xdg-mime ask GIO, which reads the shared MIME database.
XDG_DATA_DIRS="$usr/share" update-mime-database "$usr/share/mime"
mkdir -p "$tmp/files" "$tmp/data"
query() {
  GIO_USE_VFS=local XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME="$tmp/data" XDG_DATA_DIRS="$1" \
    xdg-mime query filetype "$2"
}
for case in umx:audio/x-umx mo3:audio/x-mo3 mp1:audio/mpeg mtm:audio/x-mod; do
  ext=${case%%:*} expected=${case#*:}
  # Content that no magic rule claims, so the extension decides.
  head -c 2048 /dev/zero | tr '\0' '\125' >"$tmp/files/song.$ext"
  got=$(query "$usr/share:/usr/share" "$tmp/files/song.$ext")
  [ "$got" = "$expected" ] || fail "song.$ext is '$got', expected $expected"
done
[ "$(query /usr/share "$tmp/files/song.umx")" != audio/x-umx ] || fail "the system database already knows .umx: the test shows nothing"

# The installed program starts through bin/zorvan and its first run registers the program
# in lib/zorvan, with the same name and icon as the installed desktop entry.
home=$tmp/home
mkdir -p "$home/runtime" "$home/config" "$home/data"
chmod 700 "$home/runtime"
XDG_RUNTIME_DIR=$home/runtime XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy "$usr/bin/zorvan" >"$tmp/player.log" 2>&1 &
player=$!
entry=$home/data/applications/zorvan.desktop
for _ in $(seq 300); do
  [ -f "$entry" ] && break
  kill -0 "$player" 2>/dev/null || { cat "$tmp/player.log"; fail "the installed program ended at start"; }
  sleep 0.1
done
[ -f "$entry" ] || fail "the installed program wrote no desktop entry"
grep -qx "Exec=\"$usr/lib/zorvan/zorvan\" %f" "$entry" || fail "the first run registered another program: $(grep Exec= "$entry")"
for key in Name Icon; do
  [ "$(grep "^$key=" "$entry")" = "$(grep "^$key=" "$usr/share/applications/zorvan.desktop")" ] \
    || fail "the per-user and the installed desktop entries differ in $key"
done
grep -qxF "@=\"$usr/lib/zorvan/libCtxmenu.so\"" "$home/config/Tavrel/Classes.ini" \
  || fail "the context-menu server is not registered beside the program"
kill -TERM "$player"
status=0
wait "$player" || status=$?
player=
[ "$status" = 0 ] || { cat "$tmp/player.log"; fail "the installed program ended with $status"; }
echo "install layout, validators, MIME package and first start: all good"
