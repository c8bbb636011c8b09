// The answer receiver: a state machine driven by the position of each byte
// in the answer, with its deadlines, overflow restarts and streamed answers.
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/files.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "transport/command_class.h"
#include "transport/exchange.h"
#include "transport/line_sync.h"
#include "transport/link.h"
#include "transport/seams.h"

namespace ecf::transport {

namespace {

constexpr unsigned char ack = 0x06;
constexpr unsigned char nak = 0x15;
constexpr unsigned char etx = 0x03;
constexpr unsigned char line_feed = 0x0A;
constexpr long answer_window_s = 30;
constexpr long data_first_window_s = 7;
constexpr int stream_start = 3;  // first stream byte in the buffer

long now_s() {
  return BIOSRTC_tempo_sistema(nullptr);
}

enum class Step { more, finished, fail };

class Receiver {
 public:
  Receiver()
      : p_(pending()),
        buf_(ECFIF_buffer_protocolo),
        cap_(static_cast<int>(answer_size())),
        expected_(p_.expected),
        extended_(extended_protocol()),
        data_first_(has(p_.classe, status_apos_dados)),
        streamed_(has(p_.classe, resposta_longa)) {}

  int run();

 private:
  // Whatever was collected is dropped: it was not this frame's answer.
  void restart() {
    if (r_ > 0) line_state().stray = true;
    n_ = r_ = 0;
  }
  Step on_byte(unsigned char v);
  Step on_stream_byte(unsigned char v);
  int time_out();
  int stream_overrun();
  void finish();
  void normalise();
  bool disk_export() const { return BMTCLOCAL_chamou_em_disco != 0; }
  bool capturing() const { return p_.capture[0] != '\0'; }

  PendingCommand &p_;
  unsigned char *buf_;
  int cap_;
  int expected_;
  bool extended_;
  bool data_first_;
  bool streamed_;

  int n_ = 0;   // bytes stored in the buffer
  long r_ = 0;  // bytes of this answer received
  long deadline_ = 0;
  long streamed_bytes_ = 0;
  long cts_sampled_s_ = 0;
  bool busy_ = false;
  bool line_error_ = false;
  int result_ = 0;
};

int Receiver::run() {
  ECFBMTCAUX_status_execucao = 0;
  line_state().heard = 0;
  line_state().stray = false;
  if (!porta_configurada()) set_up_port();
  const long start = now_s();
  deadline_ = start + answer_window_s;
  cts_sampled_s_ = start;
  const long give_up = start + printer_hold_limit_s;
  const long stream_end = start + stream_limit_s;
  restart();
  const int port = ECFIF_porta_serial;
  for (;;) {
    SERIPC_escalador();
    // One clock reading a pass: an answer comes byte by byte through here.
    const long now = now_s();
    if (streamed_ && now > stream_end) return stream_overrun();
    if (now > deadline_) {
      if (busy_ && now <= give_up) {
        busy_ = false;
        if (!data_first_) deadline_ = now + answer_window_s;
        continue;
      }
      return time_out();
    }
    if (const int e = nSERIALerro(port, 1) & 7) {
      if (ECFLOG_modo & 1) {
        const char *what = (e & 1)   ? "parid,%ld rec."
                           : (e & 2) ? "ovrun,%ld rec."
                                     : "framing,%ld rec.";
        ECFLOG_print(what, r_);
      }
      line_error_ = true;
      line_state().stray = true;
      if (r_ > 0) busy_ = false;
      restart();
      continue;
    }
    const int v = nSERIALleRX(port);
    if (v < 0 || v > 255) {
      // A busy printer matters only at a whole-second deadline: CTS is
      // sampled once a second of waiting, not after every empty read.
      if (now != cts_sampled_s_) {
        cts_sampled_s_ = now;
        if (!nSERIAL_CTSativo(port)) busy_ = true;
      }
      ECFCOMUM_escalador();
      continue;
    }
    ++line_state().heard;
    if (!streamed_ && n_ > expected_) {
      restart();
      continue;
    }
    const Step s = on_byte(static_cast<unsigned char>(v));
    if (s == Step::fail) return result_;
    if (s == Step::finished) {
      finish();
      return 0;
    }
  }
}

int Receiver::time_out() {
  if (ECFLOG_modo & 2)
    ECFLOG_dump("timeout", buf_, n_);
  else if (ECFLOG_modo & 1)
    ECFLOG_print("timeout,%ld rec.", r_);
  if (line_error_) return 40;
  porta_configurada() = false;
  return 37;
}

int Receiver::stream_overrun() {
  if (ECFLOG_modo & 1) ECFLOG_print("timeout,%ld rec.", r_);
  porta_configurada() = false;
  return 37;
}

Step Receiver::on_byte(unsigned char v) {
  // The overflow restart keeps n at most expected + 1 for fixed answers;
  // streams flush before the buffer fills. This guard never lets a
  // printer write past the buffer whatever it sends.
  if (n_ >= cap_) {
    restart();
    return Step::more;
  }
  buf_[n_++] = v;
  ++r_;

  if (r_ == 1) {
    if (v == ack) return Step::more;
    if (v == nak) {
      buf_[0] = 0;
      result_ = 36;
      return Step::fail;
    }
    restart();
    return Step::more;
  }
  if (r_ == 2) return Step::more;
  if (r_ == 3) {
    if (extended_) return Step::more;
    if (data_first_) {
      if (n_ >= expected_) return Step::finished;
      deadline_ = now_s() + data_first_window_s;
      return Step::more;
    }
    if (v & 1) return Step::finished;
    if (!streamed_ && n_ >= expected_) return Step::finished;
    deadline_ = now_s() + answer_window_s;
    return Step::more;
  }
  // Extended streams carry the execution status at positions 4 and 5 like
  // every status-first answer; the stream itself starts at position 6.
  if (streamed_ && (!extended_ || r_ >= 6)) return on_stream_byte(v);
  if (extended_ && data_first_) {
    if (r_ >= expected_) return Step::finished;
    deadline_ = now_s() + data_first_window_s;
    return Step::more;
  }
  if (extended_ && r_ == 4) {
    ECFBMTCAUX_status_execucao = v;
    --n_;
    return Step::more;
  }
  if (extended_ && r_ == 5) {
    ECFBMTCAUX_status_execucao += v * 256;
    --n_;
    if ((buf_[2] & 1) || (!streamed_ && r_ >= expected_)) return Step::finished;
    deadline_ = now_s() + answer_window_s;
    return Step::more;
  }
  return n_ >= expected_ ? Step::finished : Step::more;
}

Step Receiver::on_stream_byte(unsigned char v) {
  // A stream stays alive as long as bytes keep coming, up to its bound.
  deadline_ = now_s() + answer_window_s;
  if (++streamed_bytes_ > stream_limit_bytes) {
    result_ = stream_overrun();
    return Step::fail;
  }
  char *text = reinterpret_cast<char *>(buf_ + stream_start);

  if (v == etx) {
    if ((capturing() || disk_export()) && n_ > stream_start + 1) {
      if (disk_export()) {
        buf_[n_ - 1] = 0;
        static char end_of_reading[] = {static_cast<char>(etx), 0};
        if (BMTCLOCAL_exec_funcoes(text) != 0 || BMTCLOCAL_exec_funcoes(end_of_reading) != 0) {
          result_ = 45;
          return Step::fail;
        }
      } else if (const int r = append_capture(buf_ + stream_start, n_ - stream_start - 1); r != 0) {
        result_ = r;
        return Step::fail;
      }
      n_ = stream_start;
    }
    return Step::finished;
  }

  if (disk_export()) {
    // A line that does not fit is passed on in pieces rather than lost.
    if (v == line_feed || n_ >= cap_ - 1) {
      buf_[n_] = 0;
      n_ = stream_start;
      if (BMTCLOCAL_exec_funcoes(text) != 0) {
        result_ = 45;
        return Step::fail;
      }
    }
    return Step::more;
  }
  if (capturing()) {
    if (n_ >= expected_ || n_ >= cap_) {
      const int r = append_capture(buf_ + stream_start, n_ - stream_start);
      n_ = stream_start;
      if (r != 0) {
        result_ = r;
        return Step::fail;
      }
    }
    return Step::more;
  }
  // Nobody takes the stream: keep the buffer bounded.
  if (n_ >= expected_ || n_ >= cap_) n_ = stream_start;
  return Step::more;
}

void Receiver::finish() {
  if (extended_ && data_first_ && n_ >= 2) {
    ECFBMTCAUX_status_execucao = buf_[n_ - 2] | (buf_[n_ - 1] << 8);
    n_ -= 2;
  }
  normalise();
}

void Receiver::normalise() {
  ECFIF_tam_resposta_ecf = n_;
  if (data_first_ && n_ >= 3) {
    const unsigned char st1 = buf_[n_ - 2];
    const unsigned char st2 = buf_[n_ - 1];
    std::memmove(buf_ + 3, buf_ + 1, static_cast<std::size_t>(n_ - 3));
    buf_[1] = st1;
    buf_[2] = st2;
  }
  // The two bytes an extended status-first answer carries after its data
  // stay out of the copy; answers without them are copied whole.
  int m = n_;
  const bool trailer =
      extended_ && !data_first_ && !streamed_ && n_ >= 3 && (buf_[2] & 1) == 0 && expected_ > 5;
  if (trailer) m -= 2;
  constexpr int retornado_room = static_cast<int>(sizeof ECFIF_retornado) - 1;
  if (m >= 0 && m <= ECFIF_maxtam_resposta && m <= retornado_room) {
    std::memcpy(ECFIF_retornado, buf_, static_cast<std::size_t>(m));
    ECFIF_retornado[m] = 0;
    ECFIF_tam_retorno = m;
  }
}

}  // namespace

int receive_answer() {
  if (ECFIF_buffer_protocolo == nullptr) return 44;
  Receiver receiver;
  return receiver.run();
}

int append_capture(const unsigned char *data, int length) {
  const PendingCommand &p = pending();
  if (data == nullptr || length < 1 || p.capture[0] == '\0') return 45;
  const core::arquivos::Arquivo file = core::arquivos::abre_acrescimo(p.capture.data());
  if (!file) return 44;
  return core::arquivos::escreve(file, data, static_cast<std::size_t>(length)) ? 0 : 45;
}

}  // namespace ecf::transport
