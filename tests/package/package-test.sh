#!/usr/bin/env bash
# Builds the Debian package from the build tree, checks its files and lintian's verdict, unpacks it
# into a scratch root and runs both programs from there. Exit 77: a tool is missing (skipped).
set -euo pipefail
trap 'echo "package-test.sh:$LINENO: failed: $BASH_COMMAND"' ERR
build=$1
source=$2
for tool in cpack dpkg-deb lintian appstreamcli desktop-file-validate; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is missing: the test command installs scripts/test-packages.txt"
    [ "${CI:-}" = true ] && exit 1
    exit 77
  fi
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

version=$(sed -n 's/^project(Velmor VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log") || { cat "$scratch/cpack.log"; exit 1; }
deb=$scratch/out/velmor_${version}_amd64.deb
[ -f "$deb" ] || { echo "no $deb"; ls "$scratch/out"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# Exactly the files the package should carry.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort >"$scratch/files"
cat >"$scratch/expected" <<LIST
usr/bin/velmor
usr/bin/velmor-cli
usr/share/applications/velmor.desktop
usr/share/doc/velmor/changelog.gz
usr/share/doc/velmor/copyright
usr/share/icons/hicolor/128x128/apps/velmor.png
usr/share/icons/hicolor/256x256/apps/velmor.png
usr/share/icons/hicolor/48x48/apps/velmor.png
usr/share/icons/hicolor/scalable/apps/velmor.svg
usr/share/lintian/overrides/velmor
usr/share/man/man1/velmor-cli.1.gz
usr/share/man/man1/velmor.1.gz
usr/share/metainfo/org.velmor.Velmor.metainfo.xml
LIST
sort -o "$scratch/expected" "$scratch/expected"
diff -u "$scratch/expected" "$scratch/files"

# Control fields: maintainer, dependencies found by dpkg-shlibdeps.
# Outputs are read whole before grep -q looks at them: with pipefail, a writer cut off by grep's early
# exit would fail the pipeline.
[ "$(dpkg-deb -f "$deb" Maintainer)" = 'Velmor <velmor@localhost>' ]
grep -q 'libqt6widgets6' <<<"$(dpkg-deb -f "$deb" Depends)"

lintian --fail-on error --tag-display-limit 0 "$deb"
appstreamcli validate --no-net "$source/packaging/org.velmor.Velmor.metainfo.xml"
desktop-file-validate "$source/packaging/velmor.desktop"

# Both programs run from the unpacked root.
dpkg-deb -x "$deb" "$scratch/root"
for program in velmor velmor-cli; do
  if grep -q '\.symtab' <<<"$(readelf -S "$scratch/root/usr/bin/$program")"; then
    echo "$program is not stripped"; exit 1
  fi
done
[ "$("$scratch/root/usr/bin/velmor-cli" --version)" = "velmor-cli $version" ]
[ "$(QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/velmor" --version)" = "velmor $version" ]
grep -q '^Utilizare: velmor-cli' <<<"$("$scratch/root/usr/bin/velmor-cli" --help)"
mkdir -p "$scratch/home" "$scratch/shots"
QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/velmor" --home "$scratch/home" \
  --registry "$scratch/registry.ini" --screenshots "$scratch/shots" >"$scratch/shots.log"
[ -s "$scratch/shots/TForm3.png" ] || { echo "no main window screenshot"; ls "$scratch/shots"; exit 1; }
# The demo start: a home of its own with a register that has households.
demo=$("$source/scripts/demo-home.sh" "$scratch/root/usr/bin/velmor-cli" "$scratch/demo")
households=$("$scratch/root/usr/bin/velmor-cli" sql --data "$demo/Data" 'SELECT COUNT(*) FROM "Identificare.dbf"' | tail -1)
[ "$households" = 900 ] || { echo "demo register holds $households household rows"; exit 1; }
[ "$("$source/scripts/demo-home.sh" "$scratch/root/usr/bin/velmor-cli" "$scratch/demo")" = "$demo" ]
echo "package checked: $(wc -l <"$scratch/files") files"
