#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh machine of this kind.
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v clang++ >/dev/null || need+=(clang)
[ -d /usr/src/googletest ] || need+=(googletest)
dpkg -s g++-multilib >/dev/null 2>&1 || need+=(g++-multilib)
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
