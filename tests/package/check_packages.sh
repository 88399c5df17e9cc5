#!/usr/bin/env bash
# The packages of the package and package-windows workflows: metadata, contents, dependencies,
# exports; the .deb's command, extracted, converts as build-dev/wfconv does.
set -euo pipefail
cd "$(dirname "$0")/../.."
version=$(sed -n 's/^project(wfconv VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=build-package/wfconv_${version}_amd64.deb
zip=build-package-windows/wfconv-${version}-windows-x86_64.zip
lib=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
exports="wfconv_free wfconv_outcome_name wfconv_read_file wfconv_read_memory wfconv_version"
fail() { echo "check_packages: $*" >&2; exit 1; }
has() { grep -q "$1" <<<"$2" || fail "${3:-$deb} lacks $1"; }

has $'Package: wfconv\nVersion: '"$version"$'\nArchitecture: amd64' "$(dpkg-deb -f "$deb" Package Version Architecture)"
has '^libc6 (>= [0-9.]*)$' "$(dpkg-deb -f "$deb" Depends)"
apt-get -s -q install "./$deb" >/dev/null || fail "apt-get cannot install $deb"
listing=$(dpkg-deb -c "$deb")
for path in usr/bin/wfconv usr/share/man/man1/wfconv.1 $lib/libwfconv.so.1 $lib/libwfconv.a usr/include/wfconv/wfconv.h\
    usr/include/wfconv/wfconv.hpp $lib/cmake/wfconv/wfconvConfig.cmake $lib/pkgconfig/wfconv-c.pc; do
  has " \./$path\( ->.*\)\?$" "$listing"
done

root=$(mktemp -d) && trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root/deb"
mkdir "$root/packaged" && cp examples/sine_square.wfm "$root/packaged" && cp -r "$root/packaged" "$root/built"
(cd "$root/packaged" && "$root/deb/usr/bin/wfconv" sine_square.wfm >report) &&
  (cd "$root/built" && "$OLDPWD/build-dev/wfconv" sine_square.wfm >report)
diff -r "$root/packaged" "$root/built" || fail "the packaged wfconv converts differently"
has "^\.TH WFCONV 1 .* \"wfconv $version\"" "$(cat "$root/deb/usr/share/man/man1/wfconv.1")" "the manual page"
[ "$(nm -D --defined-only "$root/deb/$lib/libwfconv.so.1" | awk '{print $3}' | xargs)" = "$exports" ] ||
  fail "libwfconv.so.1 exports more or less than $exports"
cc -std=c99 -Werror examples/c_example/read_values.c $(PKG_CONFIG_PATH="$root/deb/$lib/pkgconfig" \
  pkg-config --cflags --libs wfconv-c) -Wl,-rpath,"$root/deb/$lib" -o "$root/read_values"
has "^2048 values$" "$("$root/read_values" examples/sine_square.wfm)" "the C program's output"

/usr/bin/python3 -m zipfile -e "$zip" "$root/zip"
for name in bin/wfconv.exe bin/wfconv.dll lib/libwfconv.dll.a include/wfconv/wfconv.h share/doc/wfconv/README.md; do
  [ -f "$root/zip/wfconv-$version-windows-x86_64/$name" ] || fail "$zip lacks $name"
done
dll_exports=$(objdump -p "$root"/zip/wfconv-*/bin/wfconv.dll | sed -n 's/^\s*\[ *[0-9]*\] \(\w*\)$/\1/p')
[ "$(xargs <<<"$dll_exports")" = "$exports" ] || fail "wfconv.dll exports more or less than $exports"
echo "check_packages: $deb and $zip hold wfconv $version"
