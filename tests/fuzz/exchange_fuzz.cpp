// Arbitrary printer answers fed to the exchange through the scripted line.
//
// Input: byte 0 picks the protocol, the command and the export flag; byte 1
// is the command's argument; byte 2 sets ECFIF_maxtam_resposta; the rest is
// up to four answers, one per frame, where FFh escapes an event:
// FF 00 = the byte FFh, FF 01 t = pause t x 100 ms, FF 02 e = line error e,
// FF 03 t = CTS inactive t x 100 ms, FF 04 = the next frame's answer begins.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "harness.h"
#include "platform/platform.h"
#include "platform/test_platform.h"
#include "transport/seams.h"

namespace {

void script(const std::uint8_t *p, std::size_t n) {
  ecftest::Answer answer;
  int answers = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i] != 0xFF || i + 1 >= n) {
      answer.add({p[i]});
      continue;
    }
    const std::uint8_t op = p[++i];
    const std::uint8_t arg = i + 1 < n ? p[i + 1] : 0;
    if (op == 0x00) answer.add({0xFF});
    if (op == 0x01) answer.pause_ms(arg * 100);
    if (op == 0x02) answer.line_error(arg & 7);
    if (op == 0x03) answer.cts_off_ms(arg * 100);
    if (op >= 0x01 && op <= 0x03) ++i;
    if (op == 0x04 && ++answers < 4) {
      ecftest::on_frame(answer);
      answer = ecftest::Answer{};
    }
    if (op > 0x04) answer.add({op});
  }
  ecftest::on_frame(answer);
}

int run(std::uint8_t what, std::uint8_t arg) {
  unsigned char args[16];
  std::memset(args, '0', sizeof args);
  args[0] = arg;
  args[12] = 'R';  // a streamed reading of the fiscal memory
  unsigned char estado = 0;
  // Commands without arguments, by the choice; 0 marks the other choices.
  constexpr int plain[] = {19, 0, 29, 0, 69, 34, 27, 6255};
  const int qual = (what >> 1) & 0x0F;
  if (qual < 8 && plain[qual] != 0) return ECFBMTC_exec(plain[qual]);
  if (qual == 1) return ECFBMTC_le_parametro(arg);
  if (qual == 3) return ECFBMTC_exec_argum(8, args, 13);
  if (qual == 8) return ECFBMTC_le_estado_do_ecf(&estado);
  if (qual == 9) return ECFBMTC_le_status();
  return ECFBMTC_exec_argum(6260, args, arg % 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 3) return 0;
  ecffuzz::driver_novo((data[0] & 1) != 0);
  BMTCLOCAL_chamou_em_disco = (data[0] & 0x20) ? 1 : 0;
  BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC] = static_cast<unsigned char>(data[1] % 6);
  ECFIF_maxtam_resposta = data[2] * 8;
  ECFLOG_modo = 3;
  script(data + 3, size - 3);
  ecftest::set_default_answer(ecftest::silence());
  const int r = run(data[0], data[1]);
  if (r < 0 || (ECFIF_buffer_protocolo != nullptr && ECFIF_tam_resposta_ecf < 0)) std::abort();
  if (ECFIF_tam_retorno > 300) std::abort();
  BMTCLOCAL_chamou_em_disco = 0;
  ecftest::reset();
  return 0;
}
