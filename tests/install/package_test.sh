#!/usr/bin/env bash
# Builds the .deb from the build tree with CPack and checks it as Debian would: the desktop
# entry and metainfo validate, the package holds the install layout, its dependencies come
# from dpkg-shlibdeps and resolve here, and lintian finds no errors.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -u
build="$1"
source="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done

desktop-file-validate "$source/data/wavetrap.desktop" || fail "desktop entry"
appstreamcli validate --no-net --explain "$source/data/io.github.wavetrap.Wavetrap.metainfo.xml" || fail "metainfo"

(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; exit 1; }
deb=$(ls "$work"/wavetrap_*.deb 2> /dev/null | head -n 1)
[[ -f $deb ]] || { cat "$work/cpack.log"; fail "no .deb made"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/wavetrap ./usr/bin/wavetrap-settings ./usr/bin/wavetrap-catalogue ./usr/bin/wavetrap-rip \
         ./usr/share/wavetrap/Help.html ./usr/share/applications/wavetrap.desktop \
         ./usr/share/metainfo/io.github.wavetrap.Wavetrap.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/wavetrap.svg ./usr/share/icons/hicolor/48x48/apps/wavetrap.png \
         ./usr/share/icons/hicolor/256x256/apps/wavetrap.png ./usr/share/man/man1/wavetrap.1.gz \
         ./usr/share/doc/wavetrap/copyright ./usr/share/doc/wavetrap/changelog.gz; do
    grep -q " $f\$" <<< "$contents" || fail "package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6widgets6 libcurl4 libmpg123-0 libpulse0; do
    grep -q "$lib" <<< "$depends" || fail "Depends lacks $lib"
done
# The dependencies resolve on this Debian (a simulation: nothing is installed).
apt-get install -s "$deb" > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get cannot install the package"; }

lintian --fail-on error --tag-display-limit 0 "$deb" > "$work/lintian.log" 2>&1
status=$?
cat "$work/lintian.log"
echo "lintian: $(grep -c '^E:' "$work/lintian.log") errors, $(grep -c '^W:' "$work/lintian.log") warnings"
[[ $status -eq 0 ]] || fail "lintian reports errors"

[[ $failures -eq 0 ]] && echo "all checks passed"
exit $((failures > 0))
