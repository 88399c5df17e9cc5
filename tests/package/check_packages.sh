#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The packages of the package and package-windows workflows: each .deb's metadata and files,
# lintian (no error, no warning), hardening-check on the command and the shared library; the
# packaged command, extracted, converts as build-dev/wfconv does; the zip's files and exports.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tests/front_ends/need_tools.sh
need dpkg-deb lintian hardening-check
program=$(realpath "${WFCONV_BUILD_DIR:-build-dev}/wfconv")  # the dev preset's, or the build whose test runs this
version=$(sed -n 's/^project(wfconv VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
lib=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
command=build-package/wfconv_${version}_$arch.deb
library=build-package/libwfconv1_${version}_$arch.deb
dev=build-package/libwfconv-dev_${version}_$arch.deb
zip=build-package-windows/wfconv-${version}-windows-x86_64.zip
exports="wfconv_cut_channel wfconv_free wfconv_outcome_name wfconv_read_file wfconv_read_memory wfconv_version"
fail() { echo "check_packages: $*" >&2; exit 1; }
has() { grep -q "$1" <<<"$2" || fail "$3 lacks $1"; }

files=""
# Which package holds what: the command alone, the library alone, the rest for building.
declare -A holds=(
  [$command]="usr/bin/wfconv usr/share/man/man1/wfconv.1.gz usr/share/doc/wfconv/README.md
    usr/share/doc/wfconv/format.md usr/bin/wfconv-csv usr/share/man/man1/wfconv-csv.1.gz"
  [$library]="$lib/libwfconv.so.1 $lib/libwfconv.so.$version"
  [$dev]="$lib/libwfconv.a $lib/libwfconv.so usr/include/wfconv/wfconv.h usr/include/wfconv/wfconv.hpp
    $lib/cmake/wfconv/wfconvConfig.cmake $lib/pkgconfig/wfconv.pc $lib/pkgconfig/wfconv-c.pc")
for deb in "$command" "$library" "$dev"; do
  name=$(basename "$deb" | cut -d_ -f1)
  has $'Package: '"$name"$'\nVersion: '"$version"$'\nArchitecture: '"$arch" \
    "$(dpkg-deb -f "$deb" Package Version Architecture)" "$deb"
  listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
  for path in ${holds[$deb]} usr/share/doc/$name/copyright usr/share/doc/$name/changelog.gz; do
    has "^\./$path$" "$listing" "$deb"
  done
  files+=$(grep -v '/$' <<<"$listing")$'\n'
  [ "$deb" = "$dev" ] && continue
  # The command's and the library's packages hold only the files above and their own documents.
  others=$(grep -v '/$' <<<"$listing" | grep -vxF -f <(printf './%s\n' ${holds[$deb]}) |
    grep -v "^\./usr/share/\(doc/$name/\|lintian/overrides/$name$\)" || true)
  [ -z "$others" ] || fail "$deb also holds: $others"
done
shared=$(sort <<<"$files" | uniq -d)
[ -z "$shared" ] || fail "files in two packages: $shared"
has '^libc6 (>= [0-9.]*)$' "$(dpkg-deb -f "$library" Depends)" "$library's Depends"
[ "$(dpkg-deb -f "$dev" Depends)" = "libwfconv1 (= $version)" ] || fail "$dev must depend on libwfconv1 (= $version)"
has "^libwfconv 1 libwfconv1 " "$(dpkg-deb -I "$library" shlibs)" "$library's shlibs"
[ "$(dpkg-deb -I "$library" triggers)" = "activate-noawait ldconfig" ] || fail "$library lacks the ldconfig trigger"
changelog=$(dpkg-deb --fsys-tarfile "$command" | tar -xOf - ./usr/share/doc/wfconv/changelog.gz | zcat)
[ "$(dpkg-parsechangelog -l - -S Version <<<"$changelog")" = "$version" ] || fail "NEWS.md has no entry for $version"
apt-get -s -q install "./$command" "./$library" "./$dev" >/dev/null || fail "apt-get cannot install the packages"

lint=$(lintian --fail-on error,warning "$command" "$library" "$dev" 2>&1) ||
  fail "lintian finds errors or warnings:"$'\n'"$lint"

root=$(mktemp -d) && trap 'rm -rf "$root"' EXIT
for deb in "$command" "$library" "$dev"; do dpkg -x "$deb" "$root/deb"; done
# Each protection present ("yes"), or nothing to protect ("unknown"), or its test ignored
# where it cannot pass: control-flow protection everywhere, as Debian 12's C start files
# (crti.o, crtn.o) lack the IBT and SHSTK marks, so that nothing linked on Debian 12 has them,
# Debian's own programs neither; on the static PIE, the stack protector, which the test finds
# only as an imported __stack_chk_fail; on the library, fortified functions: its copies'
# sizes are known only at run time, so its calls stay unfortified (the false alarm
# hardening-check's manual describes).
while read -r path ignored; do
  report=$(hardening-check --nocfprotection "$ignored" "$root/deb/$path") || fail "hardening-check:$report"
done <<<"usr/bin/wfconv --nostackprotector
usr/bin/wfconv-csv --nostackprotector
$lib/libwfconv.so.1 --nofortify"

mkdir "$root/packaged" && cp examples/sine_square.wfm "$root/packaged" && cp -r "$root/packaged" "$root/built"
(cd "$root/packaged" && "$root/deb/usr/bin/wfconv" sine_square.wfm >report && "$root/deb/usr/bin/wfconv-csv" sine_square.wfm) &&
  (cd "$root/built" && "$program" sine_square.wfm >report && "$(dirname "$program")/wfconv-csv" sine_square.wfm)
diff -r "$root/packaged" "$root/built" || fail "the packaged wfconv or wfconv-csv converts differently"
for page in wfconv wfconv-csv; do
  has "^\.TH ${page^^} 1 .* \"wfconv $version\"" "$(zcat "$root/deb/usr/share/man/man1/$page.1.gz")" "$page's manual page"
done
has "^\.IR /usr/share/doc/wfconv/format\.md" "$(zcat "$root/deb/usr/share/man/man1/wfconv.1.gz")" "the manual page"
# The installed README links only to what is installed beside it.
for link in $(grep -o '](\([^)#:]*\))' "$root/deb/usr/share/doc/wfconv/README.md" | sed 's/^](\(.*\))$/\1/'); do
  [ -f "$root/deb/usr/share/doc/wfconv/$link" ] || fail "the installed README links to $link, which is not installed"
done
[ "$(nm -D --defined-only "$root/deb/$lib/libwfconv.so.1" | awk '{print $3}' | xargs)" = "$exports" ] ||
  fail "libwfconv.so.1 exports more or less than $exports"
cc -std=c99 -Werror examples/c_example/read_values.c $(PKG_CONFIG_PATH="$root/deb/$lib/pkgconfig" \
  pkg-config --cflags --libs wfconv-c) -Wl,-rpath,"$root/deb/$lib" -o "$root/read_values"
has "^2048 values$" "$("$root/read_values" examples/sine_square.wfm)" "the C program's output"

/usr/bin/python3 -m zipfile -e "$zip" "$root/zip"
for name in bin/wfconv.exe bin/wfconv-csv.exe bin/wfconv.dll lib/libwfconv.dll.a include/wfconv/wfconv.h \
    share/doc/wfconv/README.md share/doc/wfconv/format.md share/doc/wfconv/LICENSE; do
  [ -f "$root/zip/wfconv-$version-windows-x86_64/$name" ] || fail "$zip lacks $name"
done
dll_exports=$(objdump -p "$root"/zip/wfconv-*/bin/wfconv.dll | sed -n 's/^\s*\[ *[0-9]*\] \(\w*\)$/\1/p')
[ "$(xargs <<<"$dll_exports")" = "$exports" ] || fail "wfconv.dll exports more or less than $exports"
echo "check_packages: wfconv, libwfconv1, libwfconv-dev $version and the zip are whole; lintian, hardening-check pass"
