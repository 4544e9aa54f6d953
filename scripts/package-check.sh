#!/usr/bin/env bash
# Builds the Debian package in a configured and built build folder (default: build),
# lists it, and checks an extracted copy: the packaged kelvane-cli prints the package's
# version and computes a point, the desktop program starts, the desktop entry and the
# AppStream metadata pass their validators, the manual page and the bash completion name
# every option of kelvane-cli. Any failure ends the script with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
fail() { echo "package-check: $*" >&2; exit 1; }

rm -f "$build"/kelvane_*.deb
(cd "$build" && cpack -G DEB > cpack.log 2>&1) || { cat "$build/cpack.log" >&2; fail "cpack failed"; }
shopt -s nullglob
debs=("$build"/kelvane_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package, found ${#debs[@]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "kelvane_${version}_${arch}.deb" ] || fail "unexpected name $(basename "$deb")"
echo "== $(basename "$deb"): $(stat -c %s "$deb") bytes, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -c "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
id=io.github.kelvane.Kelvane
for f in usr/bin/kelvane usr/bin/kelvane-cli usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml usr/share/icons/hicolor/scalable/apps/$id.svg \
         usr/share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/$id.png \
         usr/share/man/man1/kelvane-cli.1 usr/share/bash-completion/completions/kelvane-cli; do
  [ -s "$root/$f" ] || fail "missing from the package: /$f"
done
for size in 48 64 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size" \
    || fail "the ${size}x${size} icon is not a $size x $size PNG"
done
for exe in kelvane kelvane-cli; do
  if ldd "$root/usr/bin/$exe" | grep -q "not found"; then ldd "$root/usr/bin/$exe" >&2; fail "$exe: missing libraries"; fi
done

cli=$root/usr/bin/kelvane-cli
echo "== packaged kelvane-cli"
[ "$("$cli" --version)" = "kelvane-cli $version" ] || fail "kelvane-cli --version says '$("$cli" --version)', the package $version"
"$cli" --version
point=$("$cli" --T 300 --P 10) || fail "kelvane-cli --T 300 --P 10 failed"
echo "$point"
# Water at 300 K and 10 MPa is compressed liquid of about 1000 kg/m3, with no message.
rho=$("$cli" --T 300 --P 10 --tsv | awk -F'\t' '$1 == "Rho" { print $2 }')
awk -v r="$rho" 'BEGIN { exit !(r + 0 > 990 && r + 0 < 1010) }' || fail "density at 300 K, 10 MPa: '$rho'"
[ -z "$("$cli" --T 300 --P 10 --tsv | awk -F'\t' '$1 == "Mes" { print $2 }')" ] || fail "unexpected message"

echo "== desktop program"
set +e
QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/kelvane" > "$root/gui.log" 2>&1
status=$?
set -e
[ $status -eq 124 ] || { cat "$root/gui.log" >&2; fail "kelvane ended with status $status instead of running"; }
echo "kelvane was still running after 5 s (offscreen)"

echo "== validators"
desktop=$root/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx "Exec=kelvane" "$desktop" || fail "the desktop entry does not start kelvane"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
echo "desktop-file-validate: passed"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo: no release $version"

echo "== manual page and completion"
man_text=$(sed 's/\\-/-/g' "$root/usr/share/man/man1/kelvane-cli.1")
completion=$root/usr/share/bash-completion/completions/kelvane-cli
grep -q "^.TH KELVANE-CLI 1 .*Kelvane $version" "$root/usr/share/man/man1/kelvane-cli.1" || fail "manual page: version"
options=$({ "$cli" --help; "$cli" table --help; "$cli" saturation --help; "$cli" verify --help; } |
  grep -o -- '--[A-Za-z][A-Za-z-]*' | sort -u)
for o in $options; do
  grep -q -- "$o" <<< "$man_text" || fail "the manual page does not name $o"
  grep -q -- "$o\b" "$completion" || fail "the bash completion does not offer $o"
done
echo "manual page and completion name all $(wc -w <<< "$options") options"
bash -n "$completion"
# shellcheck disable=SC1090
complete_words() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kelvane_cli; echo "${COMPREPLY[*]}"' _ "$completion" "$@"
}
[ "$(complete_words kelvane-cli --fluid '')" = "water methanol co2" ] || fail "completion of --fluid"
[ "$(complete_words kelvane-cli --P-unit b)" = "bar" ] || fail "completion of --P-unit"
[ "$(complete_words kelvane-cli table --ty)" = "--type" ] || fail "completion of a table option"
[ "$(complete_words kelvane-cli saturation --T-s)" = "--T-series" ] || fail "completion of a saturation option"
[ "$(complete_words kelvane-cli --visc-unit u)" = 'uPa\ s' ] || fail "completion of a unit with a space"
echo "bash completion: fluids, units and table options complete"
echo "package-check: $(basename "$deb") passed"
