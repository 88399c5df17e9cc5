#!/usr/bin/env bash
# Checks the packages that the package and package-windows workflows made: the .deb's
# metadata, contents and dependencies (resolved by a simulated apt-get install); its
# command, extracted, converts the example as build-dev/wfconv does; its library and
# manual page and the zip carry project()'s version.
set -euo pipefail
cd "$(dirname "$0")/../.."
version=$(sed -n 's/^project(wfconv VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=build-package/wfconv_${version}_amd64.deb
zip=build-package-windows/wfconv-${version}-windows-x86_64.zip
fail() { echo "check_packages: $*" >&2; exit 1; }

[ "$(dpkg-deb -f "$deb" Package Version Architecture)" = $'Package: wfconv\nVersion: '"$version"$'\nArchitecture: amd64' ] ||
  fail "$deb: $(dpkg-deb -f "$deb" Package Version Architecture)"
dpkg-deb -f "$deb" Depends | grep -Eq '^libc6 \(>= [0-9.]+\)$' || fail "Depends: $(dpkg-deb -f "$deb" Depends)"
apt-get -s -q install "./$deb" >/dev/null || fail "apt-get cannot install $deb"
listing=$(dpkg-deb -c "$deb")
lib=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for path in usr/bin/wfconv usr/share/man/man1/wfconv.1 $lib/libwfconv.so.1 $lib/libwfconv.so $lib/libwfconv.a \
    usr/include/wfconv/wfconv.h usr/include/wfconv/wfconv.hpp $lib/cmake/wfconv/wfconvConfig.cmake \
    $lib/pkgconfig/wfconv.pc $lib/pkgconfig/wfconv-c.pc; do
  grep -q " \./$path\( ->.*\)\?$" <<<"$listing" || fail "$deb lacks $path"
done

root=$(mktemp -d) && trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root/deb"
mkdir "$root/packaged" "$root/built"
for run in packaged built; do
  cp examples/sine_square.wfm "$root/$run/"
  program=$([ $run = packaged ] && echo "$root/deb/usr/bin/wfconv" || echo "$PWD/build-dev/wfconv")
  (cd "$root/$run" && "$program" sine_square.wfm >report)
done
diff -r "$root/packaged" "$root/built" || fail "the packaged wfconv converts differently"
grep -q "^\.TH WFCONV 1 .* \"wfconv $version\"" "$root/deb/usr/share/man/man1/wfconv.1" || fail "manual page version"
/usr/bin/python3 -c 'import sys; sys.path[:0] = ["examples/ctypes_example"]; import wfconv_ctypes
assert wfconv_ctypes.load(sys.argv[1]).wfconv_version().decode() == sys.argv[2]' "$root/deb/$lib/libwfconv.so.1" "$version"

names=$(/usr/bin/python3 -m zipfile -l "$zip")
for name in bin/wfconv.exe bin/wfconv.dll lib/libwfconv.dll.a include/wfconv/wfconv.h include/wfconv/wfconv.hpp \
    share/doc/wfconv/README.md; do
  grep -q "^wfconv-$version-windows-x86_64/$name " <<<"$names" || fail "$zip lacks $name"
done
echo "check_packages: $deb and $zip hold wfconv $version"
