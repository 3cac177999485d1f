#!/usr/bin/env bash
# The Debian package: built with CPack, its control fields and file list read back with dpkg-deb, checked by
# lintian, and unpacked (never installed on this machine) for the start test that follows.
# Usage: check_package.sh <build tree> <work folder> <installed file list> <version> <Debian architecture>
set -euo pipefail
build=$1
work=$2
expected=$3
version=$4
architecture=$5
for tool in cpack dpkg-deb dpkg-shlibdeps lintian file; do
  command -v "$tool" >/dev/null || { echo "package: $tool is missing (tools/install-deps.sh installs it)"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work/packages" > "$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
deb=$work/packages/tavo2000_${version}_${architecture}.deb
[ -f "$deb" ] || { echo "package: $deb was not made"; ls "$work/packages"; exit 1; }
failures=0
fail() { echo "package: $1"; failures=$((failures + 1)); }

dpkg-deb --info "$deb" > "$work/info"
field() { sed -n "s/^ $1: //p" "$work/info"; }
[ "$(field Package)" = tavo2000 ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$architecture" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Maintainer)" = "The Tavo 2000 Team <tavo2000@example.org>" ] || fail "Maintainer is '$(field Maintainer)'"
depends=$(field Depends)
for needed in "fonts-dejavu-core" "timgm6mb-soundfont | fluid-soundfont-gm" "libsdl2-2.0-0" "libsdl2-ttf-2.0-0" \
              "libfluidsynth3" "libc6"; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks '$needed': $depends"
done
[ "$(grep -c '^  ' "$work/info")" -ge 3 ] || fail "the description has fewer than three lines"

# The installed files in Debian's layout: programs in /usr/games, compressed manual pages, copyright and changelog.
sed -e 's|^bin/|games/|' -e 's|\.6$|.6.gz|' -e '/^share\/doc\/tavo2000\/LICENSE$/d' "$expected" |
  { cat; printf '%s\n' share/doc/tavo2000/copyright share/doc/tavo2000/changelog.gz; } | sed 's|^|usr/|' | sort > "$work/expected"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort > "$work/contents"
diff "$work/expected" "$work/contents" || fail "the package's files differ from the expected ones (< expected, > packed)"

lintian --fail-on error,warning "$deb" > "$work/lintian.txt" 2>&1 || { cat "$work/lintian.txt"; fail "lintian reports errors or warnings"; }

dpkg-deb -x "$deb" "$work/unpacked"
for program in tavo2000 tavo2000-showcase tavo2000-server; do
  file -L "$work/unpacked/usr/games/$program" | grep -q ', stripped' || fail "usr/games/$program is not stripped"
done

[ $failures -eq 0 ] || exit 1
echo "package: $(basename "$deb") with $(wc -l < "$work/contents") files, fields and layout as expected, lintian clean"
