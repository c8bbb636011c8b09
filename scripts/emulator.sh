# Sourced by the scripts that start ecfsim. The emulator prints its
# pseudo-terminal's path on the first line of its output once it serves it:
# wait for that line (at most 10 s, while the emulator runs) and print it.
#   device=$(emulator_device OUTPUT_FILE PID) || fail "..."
emulator_device() {
  local out=$1 pid=$2
  for _ in $(seq 100); do
    [ -s "$out" ] && break
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  head -n 1 "$out"
}
