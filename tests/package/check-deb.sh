#!/usr/bin/env bash
# Packs the build tree named by RINGVAKT_BUILD_DIR into a Debian package with
# CPack, in a temporary directory, unpacks it and checks what a user gets:
# the control fields and the computed dependencies, the file list, the
# desktop entry, the icons, the AppStream metainfo, the manual pages, and
# that the unpacked programs run and find each other.
#
#   check-deb.sh --cpack CPACK --version X.Y --probe FIND_RECORDER_PROBE
#
# Every check that fails is reported with what was found; the exit code is 1
# when any did.
set -uo pipefail

cpack=cpack
version=
probe=
while [[ $# -gt 0 ]]; do
  case "$1" in
    --cpack) cpack=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --probe) probe=$2; shift 2 ;;
    *) echo "check-deb.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

app_id=no.tornholt.Ringvakt
programs=(ringvakt ringvakt-exchange ringvakt-recorder)
checks=0
failures=0

pass() { checks=$((checks + 1)); }
fail() {
  checks=$((checks + 1))
  failures=$((failures + 1))
  echo "FAIL: $*" >&2
}
# A failure after which nothing else can be checked.
fatal() {
  echo "FAIL: $*" >&2
  exit 1
}
# expect MESSAGE COMMAND...: the command must succeed, else MESSAGE is the
# failure.
expect() {
  local message=$1
  shift
  if "$@"; then pass; else fail "$message"; fi
}
# Whether TEXT holds WORD at the start of a list item (after a comma or a
# space, or at the start).
names() { [[ ",$1" == *[\ ,]"$2"* ]]; }
# check_quiet DESCRIPTION COMMAND...: the command must succeed and print
# nothing.
check_quiet() {
  local what=$1 out rc
  shift
  out=$("$@" 2>&1)
  rc=$?
  if [[ $rc -eq 0 && -z $out ]]; then
    pass
  else
    fail "$what (exit code $rc):"$'\n'"$out"
  fi
}

[[ -n $version ]] || fatal "no --version given"
[[ -x $probe ]] || fatal "the recorder look-up probe '$probe' is not built"
build=${RINGVAKT_BUILD_DIR:-}
[[ -n $build ]] || fatal "RINGVAKT_BUILD_DIR is not set (CTest sets it for every test)"
[[ -f $build/CPackConfig.cmake ]] || fatal "$build/CPackConfig.cmake is missing: is the tree configured?"
for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli groff lexgrog; do
  command -v "$tool" >/dev/null || fatal "$tool is not installed (scripts/setup installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/ringvakt-package.XXXXXX") || fatal "cannot make a temporary directory"
trap 'rm -rf "$work"' EXIT

# --- the package --------------------------------------------------------------
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fatal "cpack -G DEB failed"
fi
shopt -s nullglob
debs=("$work"/out/*.deb)
shopt -u nullglob
[[ ${#debs[@]} -eq 1 ]] || fatal "cpack made ${#debs[@]} .deb files, not one: $(ls "$work/out")"
deb=${debs[0]}
echo "package: $deb"

field() { dpkg-deb -f "$deb" "$1"; }
expect_field() {
  local name=$1 want=$2 got
  got=$(field "$name")
  if [[ $got == "$want" ]]; then pass; else fail "$name is '$got', not '$want'"; fi
}
expect_field Package ringvakt
expect_field Version "$version"
expect_field Section comms
expect "the package has no Maintainer" test -n "$(field Maintainer)"
expect "the package has no Description" test -n "$(field Description)"

depends=$(field Depends)
echo "Depends: $depends"
# Computed by dpkg-shlibdeps from the binaries: the libraries they link.
for lib in libqt6core6 libqt6widgets6 libcapi20 libsdl2 libc6; do
  expect "Depends does not name $lib: were the dependencies computed?" names "$depends" "$lib"
done
# Listed by hand: the SVG plugins are loaded, not linked.
expect "Depends does not name libqt6svg6" names "$depends" libqt6svg6

# --- the files ----------------------------------------------------------------
root=$work/root
dpkg-deb -x "$deb" "$root" || fatal "dpkg-deb -x failed"

expected=(
  usr/bin/ringvakt
  usr/bin/ringvakt-exchange
  usr/bin/ringvakt-recorder
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
)
for size in 16 32 48 64; do
  expected+=("usr/share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
for program in "${programs[@]}"; do
  expected+=("usr/share/man/man1/$program.1")
done
# Manual pages may be compressed; they are compared without the .gz.
actual=$(cd "$root" && find . -type f -o -type l | sed -e 's|^\./||' -e 's|\(/man1/.*\.1\)\.gz$|\1|' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
missing=$(comm -13 <(echo "$actual") <(echo "$wanted"))
extra=$(comm -23 <(echo "$actual") <(echo "$wanted"))
expect "files missing from the package:"$'\n'"$missing" test -z "$missing"
expect "files in the package that should not be there:"$'\n'"$extra" test -z "$extra"

for program in "${programs[@]}"; do
  expect "usr/bin/$program is not executable" test -x "$root/usr/bin/$program"
done

# Each PNG is a PNG of the size its directory names.
for size in 16 32 48 64; do
  png=$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png
  [[ -f $png ]] || continue
  signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
  height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
  if [[ $signature == 89504e470d0a1a0a && $width == "$size" && $height == "$size" ]]; then
    pass
  else
    fail "the ${size}x$size icon is not a ${size}x$size PNG (signature $signature, ${width}x$height)"
  fi
done
svg=$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg
expect "the scalable icon is not an SVG drawing" grep -qs '<svg' "$svg"

# --- the desktop entry --------------------------------------------------------
desktop=$root/usr/share/applications/$app_id.desktop
if [[ -f $desktop ]]; then
  check_quiet "desktop-file-validate $app_id.desktop" desktop-file-validate "$desktop"
  key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
  exec_line=$(key Exec)
  exec_program=${exec_line%% *}
  expect "Exec=$exec_line starts '$exec_program', which the package does not install in usr/bin" \
    test -x "$root/usr/bin/$exec_program"
  expect "Exec is '$exec_line', not 'ringvakt --desktop-data'" \
    test "$exec_line" = "ringvakt --desktop-data"
  expect "Icon is '$(key Icon)', not the installed icon $app_id" test "$(key Icon)" = "$app_id"
fi

# --- the metainfo -------------------------------------------------------------
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
if [[ -f $metainfo ]]; then
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1)
  rc=$?
  if [[ $rc -eq 0 ]] && ! grep -qE '^ *[EW]: ' <<<"$out"; then
    pass
  else
    fail "appstreamcli validate --no-net (exit code $rc):"$'\n'"$out"
  fi
  # The tree as installed: the launchable names a desktop entry that exists.
  out=$(appstreamcli validate-tree --no-net "$root" 2>&1)
  rc=$?
  if [[ $rc -eq 0 ]] && ! grep -qE '^ *[EW]: ' <<<"$out"; then
    pass
  else
    fail "appstreamcli validate-tree --no-net (exit code $rc):"$'\n'"$out"
  fi
  expect "the metainfo's id is not $app_id" grep -q "<id>$app_id</id>" "$metainfo"
  expect "the metainfo has no release $version" grep -q "<release version=\"$version\"" "$metainfo"
  for program in "${programs[@]}"; do
    expect "the metainfo does not say it provides $program" \
      grep -q "<binary>$program</binary>" "$metainfo"
  done
fi

# --- the manual pages ---------------------------------------------------------
for program in "${programs[@]}"; do
  page=$root/usr/share/man/man1/$program.1
  [[ -f $page ]] || page=$page.gz
  [[ -f $page ]] || continue
  zcat -f "$page" >"$work/$program.1"
  check_quiet "groff -ww -z -man on the manual page of $program" \
    groff -ww -z -man "$work/$program.1"
  # What man -k and whatis show: the NAME line must be found.
  name_line=$(lexgrog "$work/$program.1" 2>&1)
  expect "the manual page of $program has no NAME line for it: $name_line" \
    grep -qF "\"$program - " <<<"$name_line"
  expect "the manual page of $program is not marked as Ringvakt $version" \
    grep -q "^\.TH .*\"Ringvakt $version\"" "$work/$program.1"
done

# --- the programs, unpacked ---------------------------------------------------
# A home and runtime directory of their own: nothing may touch the user's.
mkdir -p "$work/home/run" "$work/empty-path" && chmod 700 "$work/home/run"
run() {
  env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
    XDG_RUNTIME_DIR="$work/home/run" timeout 60 "$@"
}
expect_version() {
  local program=$1 want=$2 out rc
  out=$(cd "$work/home" && run "$root/usr/bin/$program" --version 2>&1)
  rc=$?
  if [[ $rc -eq 0 && $out == "$want" ]]; then
    pass
  else
    fail "$program --version (exit code $rc) printed '$out', not '$want'"
  fi
}
expect_version ringvakt-exchange "ringvakt-exchange $version"
expect_version ringvakt-recorder "ringvakt-recorder $version"
expect_version ringvakt "Ringvakt $version"

# Ringvakt starts ringvakt-recorder from beside its own executable: with the
# probe in ringvakt's place and nothing on PATH, the look-up must find the
# unpacked recorder.
cp "$probe" "$root/usr/bin/find-recorder-probe"
found=$(run env PATH="$work/empty-path" "$root/usr/bin/find-recorder-probe" 2>&1)
rc=$?
want=$(realpath "$root/usr/bin/ringvakt-recorder")
if [[ $rc -eq 0 && $found == "$want" ]]; then
  pass
else
  fail "a program in usr/bin finds ringvakt-recorder at '$found' (exit code $rc), not beside it at '$want'"
fi

echo "package: $checks checks, $failures failed"
[[ $failures -eq 0 ]]
