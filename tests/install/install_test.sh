#!/bin/bash
# Installs the build into a scratch prefix, checks the layout, builds the C
# example against the installed files (pkg-config, then the CMake package)
# and sells with it against the emulator.
#   install_test.sh BUILD_DIR SOURCE_DIR LIBDIR CC "CFLAGS" [EMULATOR]
set -euo pipefail
build=$1 src=$2 libdir=$3 cc=$4 cflags=$5 emu=${6:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/ecfinstall.XXXXXX")
prefix=$work/prefix
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=../../scripts/emulator.sh
. "$src/scripts/emulator.sh"
fail() {
  echo "install test: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in "$libdir/libecfbmtc.so.1" "$libdir/libecfbmtc.so" "$libdir/libecfhost.so.1" \
  "$libdir/libecfhost.so" "$libdir/pkgconfig/ecfbmtc.pc" "$libdir/cmake/ecfbmtc/ecfbmtcConfig.cmake" \
  include/ecfbmtc.h include/ecfhost.h include/ecfbmtc/receipt.h bin/ecfctl bin/ecfsim \
  share/man/man1/ecfctl.1 share/man/man1/ecfsim.1 share/man/man3/ecfbmtc.3 \
  share/doc/ecfbmtc/LICENSE share/doc/ecfbmtc/CHANGELOG.md; do
  [ -e "$prefix/$f" ] || fail "$f not installed"
done

export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
# shellcheck disable=SC2046,SC2086
"$cc" $cflags -std=c99 -Wall -Wextra -Werror -o "$work/sale" "$src/examples/sale.c" \
  $(pkg-config --cflags --libs ecfbmtc) -Wl,-rpath,"$prefix/$libdir" || fail "pkg-config build failed"
cmake -S "$src/examples" -B "$work/cmake-example" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="$cflags" >/dev/null || fail "find_package(ecfbmtc) failed"
cmake --build "$work/cmake-example" >/dev/null || fail "CMake package build failed"

# shellcheck disable=SC2086
$emu "$prefix/bin/ecfsim" --model "MP-4000 TH FI" --paper "$work/paper.txt" >"$work/sim.out" 2>&1 &
sim_pid=$!
device=$(emulator_device "$work/sim.out" "$sim_pid") || fail "the emulator did not start"
[ -c "$device" ] || fail "no pseudo-terminal from the emulator: $device"

cd "$work"
# shellcheck disable=SC2086
out=$(ECF_SERIAL_DEVICE=$device timeout 60 $emu "$work/sale" 2>&1) || fail "the sale failed: $out"
grep -qx "ECFBMTC 1" <<<"$out" || fail "library version not reported: $out"
grep -qx "sale closed" <<<"$out" || fail "no closed sale: $out"
grep -q "Pao frances" "$work/paper.txt" || fail "the paper lacks the second item"
echo "$out"
