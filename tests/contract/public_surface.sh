#!/bin/bash
# Checks of the driver library's public surface, run by CTest:
#   public_surface.sh names  LIB CC HEADER...  exported names == declared names
#   public_surface.sh throws LIB               nothing that throws is called
#   public_surface.sh soname LIB SONAME        the SONAME is the expected one
# Declared names are read from the headers themselves (comments removed by
# the compiler), so a new name needs only its declaration.
set -euo pipefail
mode=$1 lib=$2
shift 2

exported() { nm -D --defined-only "$lib" | awk 'NF == 3 { print $3 }' | sed 's/@.*//' | sort -u; }

declared() {
  local cc=$1
  shift
  for h in "$@"; do
    "$cc" -x c -fpreprocessed -dD -E -P "$h"
  done | grep -oE '\b(ECFIF|ECFBMTC|ECFBMTCAUX|BMTCLOCAL|ECFCHQ)_[A-Za-z0-9_]*[[:space:]]*[][(;]' |
    sed -E 's/[[:space:]]*[][(;]$//' | sort -u
}

case $mode in
names)
  cc=$1
  shift
  diff_out=$(diff <(exported) <(declared "$cc" "$@")) && exit 0
  echo "exported (<) and declared (>) names differ:"
  echo "$diff_out" | grep '^[<>]'
  echo "declare each exported name in include/ecfbmtc/, or keep it out of the interface prefixes"
  exit 1
  ;;
throws)
  # The exception runtime and the library calls that throw (operator new,
  # std::__throw_*); -fno-exceptions alone does not stop the latter.
  found=$(nm -D --undefined-only "$lib" | awk '{ print $2 }' |
    grep -E '^(__cxa_throw|__cxa_allocate_exception|__cxa_rethrow|_ZSt[0-9]+__throw_|_Znw|_Zna)' || true)
  [ -z "$found" ] && exit 0
  echo "the driver calls code that can throw:"
  echo "$found" | c++filt
  exit 1
  ;;
soname)
  got=$(readelf -d "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\].*/\1/p')
  [ "$got" = "$1" ] && exit 0
  echo "SONAME is '$got', expected '$1'"
  exit 1
  ;;
*)
  echo "unknown check $mode" >&2
  exit 2
  ;;
esac
