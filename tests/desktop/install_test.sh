#!/bin/sh
# make install's desktop files under a scratch PREFIX and home: the launcher
# starts the installed builder under Wine in a prefix prepared for a desktop
# (Wine's commands are stand-ins that record their calls), the desktop entry
# and the MIME type are there and .qxm files open with the builder where
# xdg-mime is installed; uninstall leaves none of it.
# Usage: install_test.sh SOURCE_DIR
set -u
src=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail=0
check() { if eval "$1"; then :; else echo "FAILED: $2" >&2; fail=1; fi; }

mkdir -p "$t/release" "$t/fakebin" "$t/home"
printf 'MZ builder' >"$t/release/qxbuilder.exe"
printf 'MZ tool' >"$t/release/qxmtool.exe"
for tool in wine wineboot wineserver; do
  printf '#!/bin/sh\nprintf "%%s\\n" "%s $*" >>"%s/calls"\n' "$tool" "$t" >"$t/fakebin/$tool"
  chmod +x "$t/fakebin/$tool"
done
export HOME="$t/home" XDG_CONFIG_HOME="$t/home/config" XDG_DATA_HOME="$t/home/data"
export XDG_DATA_DIRS="$t/prefix/share:/usr/share"
prefix=$t/prefix

"$src/scripts/desktop-install" install "$prefix" "$t/release" >/dev/null || { echo "FAILED: install" >&2; exit 1; }
for f in bin/qxbuilder lib/qxbuilder/qxbuilder.exe lib/qxbuilder/qxmtool.exe lib/qxbuilder/run-builder \
  lib/qxbuilder/prepare-prefix share/qxbuilder/samples/wave.qxm share/applications/qxbuilder.desktop \
  share/mime/packages/qxbuilder.xml share/icons/hicolor/32x32/apps/qxbuilder.png \
  share/icons/hicolor/16x16/apps/qxbuilder.png share/icons/hicolor/32x32/mimetypes/application-x-qx-gesture.png; do
  check "[ -s '$prefix/$f' ]" "installed $f"
done
desktop=$prefix/share/applications/qxbuilder.desktop
check "grep -qx 'Exec=\"$prefix/bin/qxbuilder\" %f' '$desktop'" "the entry runs the launcher"
check "grep -qx 'MimeType=application/x-qx-gesture;' '$desktop'" "the entry takes .qxm files"
check "grep -q 'glob pattern=\"\\*.qxm\"' '$prefix/share/mime/packages/qxbuilder.xml'" "the MIME type's glob"
check "file '$prefix/share/icons/hicolor/32x32/apps/qxbuilder.png' | grep -q 'PNG image data, 32 x 32'" "a 32x32 PNG icon"
if command -v xdg-mime >/dev/null; then
  check "[ \"\$(xdg-mime query default application/x-qx-gesture)\" = qxbuilder.desktop ]" ".qxm opens with the builder"
fi

# The launcher, twice: the first start prepares the prefix, the second finds it ready.
mkdir -p "$t/work dir"
cp "$src/samples/wave.qxm" "$t/work dir/"
(cd "$t/work dir" && PATH="$t/fakebin:$PATH" DISPLAY=:99 "$prefix/bin/qxbuilder" wave.qxm) 2>/dev/null
wineprefix=$XDG_DATA_HOME/qxbuilder/prefix
check "grep -qx desktop '$wineprefix/.qx-ready'" "the prefix is prepared for a desktop"
check "grep -q 'Decorated /t REG_SZ /d N' '$t/calls'" "Wine draws the frame itself"
check "! grep -q 'Managed' '$t/calls'" "the window manager manages the window"
winpath=$(printf 'Z:%s' "$t/work dir/wave.qxm" | tr / '\\\\')
check "grep -qxF 'wine $prefix/lib/qxbuilder/qxbuilder.exe $winpath' '$t/calls'" "the installed builder opens the gesture"
: >"$t/calls"
(PATH="$t/fakebin:$PATH" DISPLAY=:99 "$prefix/bin/qxbuilder") 2>/dev/null
check "[ \"\$(cat '$t/calls')\" = 'wine $prefix/lib/qxbuilder/qxbuilder.exe' ]" "a ready prefix is not prepared again"

"$src/scripts/desktop-install" uninstall "$prefix" >/dev/null || { echo "FAILED: uninstall" >&2; exit 1; }
left=$(find "$prefix" -name '*qxbuilder*' -o -name '*qx-gesture*' -o -name '*.qxm' | head -5)
check "[ -z '$left' ]" "uninstall left: $left"
check "! grep -qs qxbuilder '$XDG_CONFIG_HOME/mimeapps.list'" "uninstall drops the default"
[ $fail -eq 0 ] && echo "desktop install: all checks passed"
exit $fail
