#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh machine of this kind.
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v clang++ >/dev/null || need+=(clang)
[ -d /usr/src/googletest ] || need+=(googletest)
dpkg -s g++-multilib >/dev/null 2>&1 || need+=(g++-multilib)
# Only scripts/coverage.sh asks for gcovr.
if [ "${ECF_DEPS_COVERAGE:-0}" = 1 ]; then command -v gcovr >/dev/null || need+=(gcovr); fi
# Kernels without 32-bit support run the -m32 tests under qemu-i386.
if ! command -v qemu-i386 >/dev/null; then
  probe=$(mktemp -d)
  printf 'int main(void){return 0;}\n' > "$probe/p.c"
  if ! { gcc -m32 "$probe/p.c" -o "$probe/p" 2>/dev/null && "$probe/p" 2>/dev/null; }; then
    need+=(qemu-user)
  fi
  rm -rf "$probe"
fi
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps: missing ${need[*]}; run as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
fi

# 32-bit x86 programs: some kernels here lack IA-32 emulation, so the -m32
# tests run through qemu's user-mode emulator, registered with binfmt_misc so
# that programs the tests start run too.
runs_32bit() {
  local dir; dir=$(mktemp -d)
  printf 'int main(void){return 0;}\n' > "$dir/t.c"
  gcc -m32 "$dir/t.c" -o "$dir/t" 2>/dev/null && "$dir/t" 2>/dev/null
  local rc=$?
  rm -rf "$dir"
  return $rc
}
if ! runs_32bit; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps: this kernel cannot run 32-bit programs; run as root to set up qemu-i386" >&2
    exit 1
  fi
  if ! command -v qemu-i386 >/dev/null; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq qemu-user >/dev/null
  fi
  [ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
      > /proc/sys/fs/binfmt_misc/register
  fi
  runs_32bit || { echo "deps: 32-bit programs still do not run" >&2; exit 1; }
fi
