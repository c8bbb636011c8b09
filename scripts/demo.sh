#!/usr/bin/env bash
# The main job: builds the driver, the host kit, the emulator and ecfctl, starts
# an emulated MP-4000 TH FI on a pseudo-terminal and runs a whole fiscal day
# through ecfctl (opening, a sale, Reading X, Reduction Z and its figures), then
# shows the printed paper and a summary. Exits 0 only if every step succeeded.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# shellcheck source=scripts/emulator.sh
. scripts/emulator.sh

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
# Two seconds of printing after the Reduction Z, where a real printer takes minutes.
"$bin/ecfsim" --model "$model" --baud "$speed" --paper "$paper" --reduction-busy 2000 \
  --state "$work/printer.state" --link "$link" >"$work/ecfsim.out" 2>"$work/ecfsim.err" &
sim_pid=$!

device=$(emulator_device "$work/ecfsim.out" "$sim_pid") || fail "the emulator did not start"
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
# Opens the day: the initial COO file and the payment methods of BMTCFPAG.CFG.
echo
echo "=== opening ==="
"${ecfctl[@]}" open-day || fail "the day was not opened"
"${ecfctl[@]}" methods

cp "$root/scripts/demo.sale" demo.sale

echo
echo "=== sale ==="
out=$("${ecfctl[@]}" sale demo.sale) || { echo "$out"; fail "the sale failed"; }
echo "$out"
summary=$(grep '^sale: COO ' <<<"$out") || fail "no sale summary"

echo
echo "=== Reading X, Reduction Z ==="
"${ecfctl[@]}" x || fail "the Reading X failed"
"${ecfctl[@]}" z || fail "the Reduction Z failed"
zdata=$("${ecfctl[@]}" z-data) || { echo "$zdata"; fail "the reduction data could not be read"; }

echo
echo "=== paper ==="
[ -s "$paper" ] || fail "nothing was printed"
cat "$paper"
echo "=== end of paper ==="
for text in "Arroz tipo 1" "Cafe torrado" "Validade 12/2027" "Pao frances" "Volte sempre"; do
  grep -q "$text" "$paper" || fail "the paper lacks \"$text\""
done
for text in "LEITURA X" "REDUCAO Z"; do
  [ "$(grep -c "$text" "$paper")" -eq 1 ] || fail "the paper does not hold one \"$text\""
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
z() { sed -n -E "s/^$1: (.*)/\1/p" <<<"$zdata"; }
echo "reduction:  CRZ $(z CRZ) of $(z date) at COO $(z COO); the next day begins at COO $(z 'initial COO')"
echo "            grand total $(z 'grand total'), discounts $(z 'discounts ICMS'); by rate:"
grep -E '^(ICMS|ISSQN) ' <<<"$zdata" | sed 's/^/              /'
[ "$paid" = "60.00" ] || fail "paid $paid, expected 60.00"
# The grand total counts the sale before its subtotal discount.
[ "$(z 'grand total')" = "66.28" ] && [ "$(z 'discounts ICMS')" = "6.28" ] ||
  fail "the reduction holds grand total $(z 'grand total') and discounts $(z 'discounts ICMS'), expected 66.28 and 6.28"
