#!/usr/bin/env bash
# The main job: builds the driver, the host kit, the emulator and ecfctl, starts
# an emulated MP-4000 TH FI on a pseudo-terminal and runs one whole sale through
# ecfctl, then shows the printed paper and a summary. Exits 0 only on success.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

speed=${ECF_DEMO_SPEED:-115200}
model="MP-4000 TH FI"

bash scripts/deps.sh demo
cmake --preset default >/dev/null
cmake --build --preset default --target ecfbmtc ecfhost ecfsim ecfctl

bin=$root/build/default/bin
work=$(mktemp -d "${TMPDIR:-/tmp}/ecfdemo.XXXXXX")
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then
    kill "$sim_pid" 2>/dev/null || true
    # Give it up to 5 s to save its state, then stop it for good.
    for _ in $(seq 50); do kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "demo: $*" >&2
  if [ -s "$work/ecfsim.err" ]; then
    echo "--- emulator messages ---" >&2
    cat "$work/ecfsim.err" >&2
  fi
  if [ -s "$work/driver.log" ]; then
    echo "--- end of the driver log ---" >&2
    tail -n 30 "$work/driver.log" >&2
  fi
  exit 1
}

paper=$work/paper.txt
link=$work/ttyECF
"$bin/ecfsim" --model "$model" --baud "$speed" --paper "$paper" \
  --state "$work/printer.state" --link "$link" >"$work/ecfsim.out" 2>"$work/ecfsim.err" &
sim_pid=$!

# The emulator prints its pseudo-terminal's path once it serves it.
for _ in $(seq 100); do
  [ -s "$work/ecfsim.out" ] && break
  kill -0 "$sim_pid" 2>/dev/null || fail "the emulator did not start"
  sleep 0.1
done
device=$(head -n 1 "$work/ecfsim.out")
[ -n "$device" ] || fail "the emulator did not report its pseudo-terminal"
echo "emulated $model on $device ($speed baud)"

# ecfctl runs in the work folder: the driver reads its payment-method file there.
ecfctl=("$bin/ecfctl" --device "$device" --speed "$speed" --state "$work/ecfctl.state"
        --log-file "$work/driver.log" --log-mode 3)
cd "$work"

cat >BMTCFPAG.CFG <<'EOF'
[FORMAS DE PAGAMENTO]
01=Dinheiro
02=Cartao Credito
EOF

"${ecfctl[@]}" config || fail "the printer was not identified"
# Prepares the day and programs the payment methods of BMTCFPAG.CFG; with a
# driver that lacks it, the methods are programmed one by one.
set +e
"${ecfctl[@]}" open-day
rc=$?
set -e
if [ "$rc" -ne 0 ]; then
  methods=$("${ecfctl[@]}" methods) || fail "cannot read the payment methods"
  for m in "Dinheiro" "Cartao Credito"; do
    grep -qi " $m\$" <<<"$methods" || "${ecfctl[@]}" add-method "$m" || fail "cannot program $m"
  done
fi
"${ecfctl[@]}" methods

cp "$root/scripts/demo.sale" demo.sale

echo
echo "=== sale ==="
out=$("${ecfctl[@]}" sale demo.sale) || { echo "$out"; fail "the sale failed"; }
echo "$out"
summary=$(grep '^sale: COO ' <<<"$out") || fail "no sale summary"

echo
echo "=== paper ==="
[ -s "$paper" ] || fail "nothing was printed"
cat "$paper"
echo "=== end of paper ==="
for text in "Arroz tipo 1" "Cafe torrado" "Validade 12/2027" "Pao frances" "Volte sempre"; do
  grep -q "$text" "$paper" || fail "the paper lacks \"$text\""
done

# "sale: COO 000123, paid 60.00, 1.234 s (wire 0.456 s: N bytes at B baud, S sent, R received)"
coo=$(sed -E 's/^sale: COO ([^,]*),.*/\1/' <<<"$summary")
paid=$(sed -E 's/.*, paid ([^,]*),.*/\1/' <<<"$summary")
secs=$(sed -E 's/.*, ([0-9.]+) s \(wire.*/\1/' <<<"$summary")
read -r bytes baud sent received < <(sed -E 's/.*: ([0-9]+) bytes at ([0-9]+) baud, ([0-9]+) sent, ([0-9]+) received\).*/\1 \2 \3 \4/' <<<"$summary")
wire() { awk -v n="$1" -v b="$baud" 'BEGIN { printf "%.3f", n * 10 / b }'; }
echo
echo "=== summary ==="
echo "COO:        $coo"
echo "total:      $paid"
echo "sale time:  $secs s"
echo "wire:       $(wire "$bytes") s for $bytes bytes x 10 bits / $baud baud;"
echo "            the emulator paces both directions: $(wire "$sent") s for the requests ($sent bytes),"
echo "            $(wire "$received") s for the answers ($received bytes)"
[ "$paid" = "60.00" ] || fail "paid $paid, expected 60.00"
