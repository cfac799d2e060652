#!/usr/bin/env bash
# Makes the Debian package from a build folder with cpack and takes it apart: every file in its
# place and nothing else, stripped programs that still run, the dependencies a fresh Debian 12
# needs, a desktop entry that names the installed program and icon, a metainfo file that
# appstreamcli accepts, manual pages that render without a troff warning, a changelog whose
# newest entry is this version, and, where lintian is installed, no lintian tag at all.
# Usage: debian_package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
deb="$work/out/gridkiln_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$work/out" >&2; fail "no $(basename "$deb")"; exit 1; }

# Files (not folders) with their modes, owners and paths.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | sort >"$work/contents"
{
  for program in gridkiln gridkiln-bmp; do echo "-rwxr-xr-x root/root ./usr/bin/$program"; done
  for file in gridkiln/palette.bmp applications/gridkiln.desktop \
    metainfo/io.github.gridkiln.gridkiln.metainfo.xml man/man1/gridkiln.1.gz \
    man/man1/gridkiln-bmp.1.gz doc/gridkiln/copyright doc/gridkiln/changelog.gz; do
    echo "-rw-r--r-- root/root ./usr/share/$file"
  done
  for side in 16 32 48 64 128 256; do
    echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/${side}x${side}/apps/gridkiln.png"
  done
} | sort >"$work/expected"
diff -u "$work/expected" "$work/contents" >&2 || fail "the package holds other files than expected"

depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed -e 's/ *([^)]*)//g' -e 's/, */\n/g' <<<"$depends")
for package in libc6 libstdc++6 libpng16-16 libqt6core6 libqt6gui6 libqt6widgets6 \
  qt6-qpa-plugins fonts-ipafont-gothic; do
  grep -qxF "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = gridkiln ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong version"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for program in gridkiln gridkiln-bmp; do
  sections=$(readelf -SW "$root/usr/bin/$program")
  # The symbols, the debugging data and the compiler's notes go; .note.* sections stay.
  if grep -Eq '\] \.(symtab|debug_[a-z_]+|comment|note) ' <<<"$sections"; then
    fail "$program is not stripped"
  fi
done
[ "$("$root/usr/bin/gridkiln-bmp" --version)" = "gridkiln-bmp $version" ] ||
  fail "the packaged gridkiln-bmp does not run"

desktop="$root/usr/share/applications/gridkiln.desktop"
grep -qx 'Exec=gridkiln' "$desktop" || fail "the desktop entry does not start gridkiln"
grep -qx 'Icon=gridkiln' "$desktop" || fail "the desktop entry does not name the icon"
for side in 16 32 48 64 128 256; do
  file -b "$root/usr/share/icons/hicolor/${side}x${side}/apps/gridkiln.png" |
    grep -q "^PNG image data, $side x $side," || fail "the ${side}-pixel icon is not $side x $side"
done

appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.gridkiln.gridkiln.metainfo.xml" \
  >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "appstreamcli refuses the metainfo"; }

for page in gridkiln gridkiln-bmp; do
  man="$root/usr/share/man/man1/$page.1.gz"
  header=$(gzip -dc "$man" | head -n 1) || fail "$page.1.gz is no gzip file"
  page_upper=$(tr '[:lower:]' '[:upper:]' <<<"$page")
  [ "$header" = ".TH $page_upper 1 \"\" \"gridkiln $version\" \"User Commands\"" ] ||
    fail "$page.1 begins with: $header"
done

# Rendered as lintian does (UTF-8), for an ASCII terminal, and by groff alone without the
# preprocessor that turns UTF-8 text into troff's escapes.
for page in gridkiln gridkiln-bmp; do
  man="$root/usr/share/man/man1/$page.1.gz"
  gzip -dc "$man" >"$work/$page.1"
  warnings=$({
    LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$man" >/dev/null
    LC_ALL=C man --warnings -l "$man" >/dev/null
    groff -ww -man -z "$work/$page.1"
  } 2>&1)
  [ -z "$warnings" ] || fail "$page.1 renders with warnings:"$'\n'"$warnings"
done

newest=$(gzip -dc "$root/usr/share/doc/gridkiln/changelog.gz" | head -n 1)
[[ "$newest" == "gridkiln ($version) "* ]] || fail "the changelog begins with: $newest"

# Information tags count too: hardening, stripping and the desktop entry's keywords are reported
# only as such.
if command -v lintian >/dev/null; then
  lintian --display-info --fail-on none --no-tag-display-limit "$deb" >"$work/lintian.log" \
    2>"$work/lintian.err" || { cat "$work/lintian.err" >&2; fail "lintian did not run"; }
  if grep -E '^[EWI]: ' "$work/lintian.log" >&2; then fail "lintian reports the tags above"; fi
else
  echo "lintian is not installed: the package is not checked with it" >&2
fi

if [ "$failed" -ne 0 ]; then exit 1; fi
echo "$(basename "$deb"): $(wc -l <"$work/contents") files, Depends: $depends"
