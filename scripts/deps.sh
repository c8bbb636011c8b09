#!/usr/bin/env bash
# Installs what one job needs on a fresh machine of this kind, and nothing more:
#   deps.sh demo      cmake, make and a C/C++ compiler
#   deps.sh default   the same, GoogleTest and pkg-config (the test presets)
#   deps.sh asan      as default
#   deps.sh m32       as default, the 32-bit libraries, and qemu-i386 (with
#                     binfmt_misc) only when this kernel cannot run 32-bit programs
#   deps.sh fuzz      as default and clang
#   deps.sh package   the Debian packaging tools
#   deps.sh coverage  as default and gcovr (scripts/coverage.sh)
set -euo pipefail
job=${1:-default}

need=()
want_cmd() { command -v "$1" >/dev/null || need+=("$2"); }
want_pkg() { dpkg -s "$1" >/dev/null 2>&1 || need+=("$1"); }

want_cmd cmake cmake
want_cmd make make
want_cmd g++ g++
case $job in
demo) ;;
default | asan | m32 | fuzz | coverage)
  [ -d /usr/src/googletest ] || need+=(googletest)
  want_cmd pkg-config pkgconf
  ;;
package)
  want_pkg dpkg-dev
  want_pkg debhelper
  want_pkg g++-multilib
  [ -d /usr/src/googletest ] || need+=(googletest)
  want_cmd pkg-config pkgconf
  ;;
*)
  echo "deps: unknown job '$job' (demo, default, asan, m32, fuzz, coverage or package)" >&2
  exit 2
  ;;
esac
[ "$job" = m32 ] && want_pkg g++-multilib
[ "$job" = fuzz ] && want_cmd clang++ clang
[ "$job" = coverage ] && want_cmd gcovr gcovr

install() {
  [ $# -gt 0 ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps: missing $*; run as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "$@" >/dev/null
}
install "${need[@]+"${need[@]}"}"

[ "$job" = m32 ] || exit 0

# 32-bit x86 programs: some kernels here lack IA-32 emulation, so the -m32
# tests run through qemu's user-mode emulator, registered with binfmt_misc so
# that programs the tests start run too.
runs_32bit() {
  local dir rc
  dir=$(mktemp -d)
  printf 'int main(void){return 0;}\n' >"$dir/t.c"
  gcc -m32 "$dir/t.c" -o "$dir/t" 2>/dev/null && "$dir/t" 2>/dev/null
  rc=$?
  rm -rf "$dir"
  return $rc
}
runs_32bit && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "deps: this kernel cannot run 32-bit programs; run as root to set up qemu-i386" >&2
  exit 1
fi
command -v qemu-i386 >/dev/null || install qemu-user
[ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
    >/proc/sys/fs/binfmt_misc/register
fi
runs_32bit || {
  echo "deps: 32-bit programs still do not run" >&2
  exit 1
}
