#!/bin/bash
# make-deb.sh BUILD_DIR VERSION RELEASE_DATE OUT_DIR (make package; run by the build's target
# "deb" with the project's version): the Debian package of the game built in BUILD_DIR,
# installed under /usr, written as OUT_DIR/zindorumba_VERSION_ARCH.deb. Its Depends come
# from the libraries the executable links (dpkg-shlibdeps); its file times are the release
# date's, so the same build gives the same package.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: make-deb.sh BUILD_DIR VERSION RELEASE_DATE OUT_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
version=$2
released=$3
mkdir -p "$4"
out=$(cd "$4" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in dpkg-deb dpkg-shlibdeps strip gzip; do
  command -v "$tool" >/dev/null || { echo "make-deb: $tool is missing (make deps installs it)" >&2; exit 1; }
done
maintainer="The ZindoRumba developers <zindorumba@users.noreply.github.com>"
arch=$(dpkg --print-architecture)
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(date -u -d "$released" +%s)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
if ! DESTDIR=$root cmake --install "$build" --prefix /usr --component game >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  exit 1
fi
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$root/usr/games/zindorumba" \
  "$root/usr/games/zindo-editor"

doc=$root/usr/share/doc/zindorumba
mkdir -p "$doc"
cp "$here/copyright" "$doc/copyright"
{
  echo "zindorumba ($version) unstable; urgency=medium"
  echo
  echo "  * Release $version."
  echo
  echo " -- $maintainer  $(date -u -R -d "@$SOURCE_DATE_EPOCH")"
} | gzip -9n >"$doc/changelog.gz"

# The packages of the libraries the executable links, as dpkg-shlibdeps finds them.
mkdir -p "$work/debian"
printf 'Source: zindorumba\n\nPackage: zindorumba\nArchitecture: any\n' >"$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O -e root/usr/games/zindorumba -e root/usr/games/zindo-editor 2>"$work/shlibdeps.log") || {
  cat "$work/shlibdeps.log" >&2
  exit 1
}
depends=${depends#shlibs:Depends=}

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root/usr/games/zindorumba" "$root/usr/games/zindo-editor"
mkdir -p "$root/DEBIAN"
(cd "$root" && find usr -type f | LC_ALL=C sort | xargs -d '\n' md5sum) >"$root/DEBIAN/md5sums"
size=$(du -sk --apparent-size "$root/usr" | cut -f1)
cat >"$root/DEBIAN/control" <<CONTROL
Package: zindorumba
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $size
Depends: $depends
Section: games
Priority: optional
Homepage: https://zindorumba.github.io/
Description: ball-and-paddle game with a drummer monkey on a tropical island
 ZindoRumba is a brick game: the bat is a drummer monkey on a rolling track,
 and up to ten balls break the crates laid over an island. Broken crates throw
 fruit to catch and capsules that change the game for a while: a gun bat, evil
 balls, quakes and gravity. Thirty levels on five islands, a table of the nine
 greatest players, steel-drum and marimba music.
CONTROL
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

deb=$out/zindorumba_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
