// Which document the printer has open, from its flags reconciled with the
// driver's own record.
#include "transport/document_state.h"

#include <array>
#include <cstring>

#include "core/catalog.h"
#include "ecfbmtc/transport.h"
#include "platform/platform.h"
#include "setup/persistent_state.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace ecf::transport {

int compara_numeros(const unsigned char *a, const unsigned char *b, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

namespace {

constexpr int tam_fase = 7;

// Copies the answer's data bytes (zero-filled when the answer is short).
template <std::size_t N>
std::array<unsigned char, N> answer_data() {
  std::array<unsigned char, N> out{};
  const int available = ECFIF_tam_resposta_ecf - 3;
  for (int i = 0; i < static_cast<int>(N) && i < available; ++i)
    out[i] = ECFIF_buffer_protocolo[3 + i];
  return out;
}

bool all_zero(const unsigned char *p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] != 0) return false;
  return true;
}

// Receipt in its later stage: compare variable 22 with the command 29 value.
int fase_do_cupom(unsigned char &estado) {
  int r = ECFBMTC_le_parametro(var::fase_cupom);
  if (r != 0) return r;
  const auto fase = answer_data<tam_fase>();
  if (all_zero(fase.data(), fase.size())) {
    estado = cupom_fase_final;
    return 0;
  }
  r = ECFBMTC_exec(cmd::le_limite_fase);
  if (r != 0) return r;
  const auto limite = answer_data<tam_fase>();
  estado = compara_numeros(fase.data(), limite.data(), tam_fase) < 0 ? cupom_fase_final
                                                                     : cupom_fase_final_pago;
  return 0;
}

unsigned char pelo_registro(bool dia_sem_movimento) {
  const unsigned char doc = nv::estado_doc_atual();
  switch (doc) {
    case 0:
      if (!dia_sem_movimento) return sem_documento;
      return nv::estado_dia_atual() == 6 ? sem_documento : sem_documento_sem_dia;
    case 2:
      return vinculado_aberto;
    case 3:
      return cnf_aberto;
    case 4:
      return relatorio_aberto;
    case 1:
      nv::muda_estado_doc(0);
      return dia_sem_movimento ? sem_documento : sem_documento_com_dia;
    default:
      if (dia_sem_movimento) {
        nv::muda_estado_doc(0);
        return sem_documento;
      }
      return sem_documento_com_dia;
  }
}

int work_out(unsigned char &estado) {
  int r = ECFBMTC_le_parametro(var::flags_documento);
  if (r != 0) return r;
  const unsigned char flags = answer_data<1>()[0];
  if (flags & 0x01) {
    if ((flags & 0x02) == 0) {
      estado = cupom_aberto;
      return 0;
    }
    return fase_do_cupom(estado);
  }
  if (flags & 0x08) {
    estado = sem_documento_sinalizado;
    if (nv::estado_doc_atual() != core::doc::pelos_flags)
      nv::muda_estado_doc(core::doc::pelos_flags);
    return 0;
  }
  r = ECFBMTC_le_parametro(var::totais_dia);
  if (r != 0) return r;
  const auto totais = answer_data<3>();
  estado = pelo_registro(all_zero(totais.data(), totais.size()));
  return 0;
}

}  // namespace
}  // namespace ecf::transport

extern "C" int ECFBMTC_le_estado_do_ecf(unsigned char *estado) {
  using namespace ecf;
  if (ECFLOG_modo & 2) ECFLOG_print("estad<%d>...", nv::estado_doc_atual());
  unsigned char lido = 0;
  const int r = transport::work_out(lido);
  if (r == 0 && estado != nullptr) *estado = lido;
  if (ECFLOG_modo & 1) {
    if (r == 0)
      ECFLOG_print("estad<%d>=%d.", nv::estado_doc_atual(), lido);
    else
      ECFLOG_print("estad<%d>r%d.", nv::estado_doc_atual(), r);
  }
  return r;
}
