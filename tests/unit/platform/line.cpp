// The scripted serial line.
#include <cstdio>
#include <string>

#include "platform/serial.h"
#include "platform_state.h"
#include "transport/frame.h"

namespace ecftest {

using detail::line;

namespace {

std::string hex(const Bytes &b) {
  std::string s;
  char tmp[4];
  for (auto v : b) {
    std::snprintf(tmp, sizeof tmp, "%02X ", v);
    s += tmp;
  }
  if (!s.empty()) s.pop_back();
  return s;
}

void schedule(const Answer &answer) {
  auto &l = line();
  std::int64_t at = detail::clock().now_ms;
  for (const auto &e : answer.events()) {
    switch (e.kind) {
      case Answer::Event::byte:
        l.rx.push_back({at, false, e.value});
        break;
      case Answer::Event::error:
        l.rx.push_back({at, true, e.value});
        break;
      case Answer::Event::pause:
        at += e.ms;
        break;
      case Answer::Event::cts_off:
        l.cts_windows.emplace_back(at, at + e.ms);
        break;
    }
  }
}

void frame_done(const Bytes &frame) {
  auto &l = line();
  ++l.frames_seen;
  if (l.steps.empty()) {
    schedule(l.default_answer);
    return;
  }
  detail::Step step = std::move(l.steps.front());
  l.steps.pop_front();
  if (step.expected && *step.expected != frame)
    l.mismatches.push_back("frame " + std::to_string(l.frames_seen) + ": expected " +
                           hex(*step.expected) + ", got " + hex(frame));
  schedule(step.answer);
}

void take_byte(std::uint8_t b) {
  auto &l = line();
  l.transmitted.push_back(b);
  if (l.peer) {
    l.peer->from_driver(b, detail::clock().now_ms);
    return;
  }
  l.current_frame.push_back(b);
  const auto &f = l.current_frame;
  if (f[0] != 0x02) {
    l.mismatches.push_back("byte outside a frame: " + hex({b}));
    l.current_frame.clear();
    return;
  }
  if (f.size() >= 3 && f.size() == 3u + (f[1] | (f[2] << 8))) {
    const Bytes frame = f;
    l.current_frame.clear();
    frame_done(frame);
  }
}

bool cts_now() {
  auto &l = line();
  const auto now = detail::clock().now_ms;
  if (l.peer) return l.peer->cts(now);
  if (!l.cts) return false;
  for (const auto &[from, to] : l.cts_windows)
    if (now >= from && now < to) return false;
  return true;
}

}  // namespace

Answer &Answer::add(std::initializer_list<int> bytes) {
  for (int b : bytes) events_.push_back({Event::byte, b & 0xFF, 0});
  return *this;
}
Answer &Answer::add(const Bytes &bytes) {
  for (auto b : bytes) events_.push_back({Event::byte, b, 0});
  return *this;
}
Answer &Answer::add(std::string_view text) {
  for (char c : text) events_.push_back({Event::byte, static_cast<unsigned char>(c), 0});
  return *this;
}
Answer &Answer::pause_ms(std::int64_t ms) {
  events_.push_back({Event::pause, 0, ms});
  return *this;
}
Answer &Answer::line_error(int bits) {
  events_.push_back({Event::error, bits, 0});
  return *this;
}
Answer &Answer::cts_off_ms(std::int64_t ms) {
  events_.push_back({Event::cts_off, 0, ms});
  return *this;
}

Answer refusal() {
  return Answer{0x15};
}
Answer silence() {
  return Answer{};
}

void expect(const Bytes &frame, Answer answer) {
  line().steps.push_back({frame, std::move(answer)});
}
void on_frame(Answer answer) {
  line().steps.push_back({std::nullopt, std::move(answer)});
}
void set_default_answer(Answer answer) {
  line().default_answer = std::move(answer);
}
std::size_t pending_steps() {
  return line().steps.size();
}
const std::vector<std::string> &mismatches() {
  return line().mismatches;
}
const Bytes &transmitted() {
  return line().transmitted;
}

std::vector<Bytes> frames() {
  std::vector<Bytes> out;
  const Bytes &t = line().transmitted;
  std::size_t i = 0;
  while (i + 3 <= t.size()) {
    std::size_t len = 3u + (t[i + 1] | (t[i + 2] << 8));
    if (i + len > t.size()) len = t.size() - i;
    out.emplace_back(t.begin() + static_cast<long>(i), t.begin() + static_cast<long>(i + len));
    i += len;
  }
  return out;
}

void clear_transmitted() {
  line().transmitted.clear();
}

void set_cts(bool active) {
  line().cts = active;
}
void set_transmit_result(int result) {
  line().transmit_result = result;
}
void set_open_result(int result) {
  line().open_result = result;
}
void set_tx_pending(bool pending) {
  line().tx_pending = pending;
}
const PortCalls &port_calls() {
  return line().calls;
}
void set_peer(LinePeer *peer) {
  line().peer = peer;
}

Bytes frame_of(int wire_code, const Bytes &args, bool extended) {
  Bytes out(args.size() + 16);
  const int n = ecf::transport::build_frame(out.data(), out.size(), wire_code, args.data(),
                                            static_cast<int>(args.size()), extended);
  out.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
  return out;
}

namespace detail {
void reset_line() {
  line() = LineState{};
}
}  // namespace detail

}  // namespace ecftest

using ecftest::detail::line;

namespace {
int note(int porta, const char *name) {
  auto &c = line().calls;
  c.port = porta;
  c.order.emplace_back(name);
  return 0;
}
}  // namespace

extern "C" {

int nSERIALconf(int porta, long velocidade, int, int, int, int) {
  note(porta, "conf");
  ++line().calls.conf;
  line().calls.speed = velocidade;
  return 0;
}
int n_ativaSERIAL(int porta) {
  note(porta, "ativa");
  ++line().calls.ativa;
  return line().open_result;
}
int nSERIALreset(int porta) {
  return note(porta, "reset");
}
int nSERIALativaDTR(int porta) {
  return note(porta, "dtr");
}
int nSERIALmodoRTS(int porta, int) {
  return note(porta, "modo_rts");
}
int nSERIALativaRTS(int porta) {
  return note(porta, "rts");
}
int nSERIALiniciaTX(int porta) {
  return note(porta, "inicia_tx");
}

int nSERIALiniciaRX(int porta) {
  note(porta, "inicia_rx");
  auto &l = line();
  ++l.calls.inicia_rx;
  const auto now = ecftest::detail::clock().now_ms;
  while (!l.rx.empty() && l.rx.front().at <= now) l.rx.pop_front();
  return 0;
}

int nSERIALencerra(int porta) {
  note(porta, "encerra");
  ++line().calls.encerra;
  return 0;
}

int nSERIAL_CTSativo(int) {
  ++line().calls.cts;
  return ecftest::cts_now() ? 1 : 0;
}

int nSERIALtransm(int porta, int byte) {
  auto &l = line();
  ++l.calls.transm;
  l.calls.port = porta;
  if (l.transmit_result != 0) return l.transmit_result;
  ecftest::take_byte(static_cast<std::uint8_t>(byte));
  return 0;
}

int nSERIALstatusTX(int) {
  return line().tx_pending ? 1 : 0;
}

int nSERIALleRX(int) {
  auto &l = line();
  const auto now = ecftest::detail::clock().now_ms;
  if (l.peer) return l.peer->to_driver(now);
  if (l.rx.empty() || l.rx.front().at > now || l.rx.front().is_error) return -1;
  const int v = l.rx.front().value;
  l.rx.pop_front();
  return v;
}

int nSERIALerro(int, int) {
  auto &l = line();
  if (l.peer) return l.peer->line_errors();
  int bits = 0;
  const auto now = ecftest::detail::clock().now_ms;
  while (!l.rx.empty() && l.rx.front().is_error && l.rx.front().at <= now) {
    bits |= l.rx.front().value;
    l.rx.pop_front();
  }
  return bits;
}

void SERIPC_escalador(void) {
  ecftest::detail::tick();
}

}  // extern "C"
