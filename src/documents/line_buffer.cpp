// Free text kept in the persistent record and printed in one text command.
#include <cstring>

#include "core/catalog.h"
#include "core/command.h"
#include "core/reset.h"
#include "core/states.h"
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "setup/persistent_state.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace {

namespace nv = ecf::nv;

constexpr std::size_t tam_buffer = nv::buffer_linhas.width;
unsigned char *buffer_linhas() {
  return nv::campo(nv::buffer_linhas);
}
void muda_estado_doc(unsigned char e) {
  if (nv::estado_doc_atual() != e) nv::muda_estado_doc(e);
}

constexpr int modo_expandido = 1;
constexpr unsigned char inicio_expandido = 14;
constexpr unsigned char avanco_linha = 10;
constexpr std::size_t limite_acrescimo = 614;  // the buffer plus the new text
constexpr std::size_t ultima_posicao = 618;    // last byte a line may take
constexpr std::size_t limite_corte = 619;
constexpr unsigned char corte[2] = {27, 'm'};
static_assert(ultima_posicao + 1 < tam_buffer);

// Set while a flush sends the buffer: the transport flushes before most
// commands, and the flush itself sends through the transport.
bool imprimindo_buffer = false;
const ecf::core::Reinicio reinicio([] { imprimindo_buffer = false; });

std::size_t tamanho_buffer() {
  return ::strnlen(reinterpret_cast<const char *>(buffer_linhas()), tam_buffer - 1);
}

void esvazia_buffer() {
  buffer_linhas()[0] = 0;
  nv::marca_alterado();
}

int avanca_linhas(int n) {
  for (int i = 0; i < n; ++i) {
    const int ret = BMTCLOCAL_bufferiza_linha(0, "");
    if (ret != 0) return ret;
  }
  return 0;
}

void descarrega_no_fim() {
  const int ret = BMTCLOCAL_imprime_buffer();
  if (ret != 0) {
    ecf::core::tratado_como_ok("imprime_buffer", ret);
    esvazia_buffer();
  }
}

void encerra_documento() {
  const int linhas = ECFIF_pega_configuracao() == 0 ? ECFIF_cfg[6] : 0;
  int ret = avanca_linhas(linhas);
  if (ret != 0) ecf::core::tratado_como_ok("avanca_linhas", ret);
  if (ECFBMTCAUX_desativa_corte) {
    descarrega_no_fim();
    return;
  }
  if (ECFIF_cfg[9] & 0x01) {
    if (tamanho_buffer() + 3 > limite_corte) descarrega_no_fim();
    const std::size_t l = tamanho_buffer();
    unsigned char *b = buffer_linhas();
    b[l] = corte[0];
    b[l + 1] = corte[1];
    b[l + 2] = 0;
    ret = BMTCLOCAL_bufferiza_linha(0, "");
    if (ret != 0) ecf::core::tratado_como_ok("bufferiza_linha", ret);
  }
  descarrega_no_fim();
}

}  // namespace

extern "C" int BMTCLOCAL_bufferiza_linha(int modo, const char *texto) {
  if (ECFBMTC_num_col_ecf < 1) return 2;
  if (texto == nullptr) texto = "";
  std::size_t l = tamanho_buffer();
  if (std::strlen(texto) + l > limite_acrescimo) {
    const int ret = BMTCLOCAL_imprime_buffer();
    if (ret != 0) return ret;
    l = tamanho_buffer();
  }
  unsigned char *b = buffer_linhas();
  if (modo == modo_expandido && l <= ultima_posicao) b[l++] = inicio_expandido;
  const auto colunas = static_cast<std::size_t>(ECFBMTC_num_col_ecf);
  for (std::size_t copiados = 0; l <= ultima_posicao && copiados < colunas; ++copiados) {
    if (texto[copiados] == 0) {
      b[l++] = avanco_linha;
      break;
    }
    b[l++] = static_cast<unsigned char>(texto[copiados]);
  }
  b[l] = 0;
  return 0;
}

extern "C" int BMTCLOCAL_imprime_buffer(void) {
  if (imprimindo_buffer) return 0;
  const std::size_t l = tamanho_buffer();
  if (l == 0) return 0;
  imprimindo_buffer = true;
  const unsigned char *b = buffer_linhas();
  int ret = ECFBMTC_exec_argum(cmd::texto_vinculado, b, static_cast<int>(l));
  if (ret == 0) {
    muda_estado_doc(ecf::core::doc::vinculado);
  } else {
    ret = ECFBMTC_exec_argum(cmd::texto_relatorio, b, static_cast<int>(l));
    if (ret == 0) muda_estado_doc(ecf::core::doc::relatorio);
  }
  if (ret == 0 || ret == 1 || ret == 34) {
    esvazia_buffer();
    ret = 0;
  }
  imprimindo_buffer = false;
  return ret;
}

extern "C" int ECFIF_imprime_linha(const char *texto) {
  if (ECFLOG_modo & 1) ECFLOG_print("imprime_linha(%s)", texto != nullptr ? texto : "(null)");
  if (texto == nullptr) return 2;
  return BMTCLOCAL_bufferiza_linha(0, texto);
}

extern "C" int ECFIF_imprime_expandido(const char *texto) {
  if (ECFLOG_modo & 1) ECFLOG_print("imprime_expandido(%s)", texto != nullptr ? texto : "(null)");
  if (texto == nullptr) return 2;
  return BMTCLOCAL_bufferiza_linha(modo_expandido, texto);
}

extern "C" int ECFIF_espaceja(int linhas) {
  if (ECFLOG_modo & 2) ECFLOG_print("espaceja(%d)", linhas);
  const unsigned char e = nv::estado_doc_atual();
  if (e != 2 && e != 4) return 0;
  if (linhas > 0) return avanca_linhas(linhas);
  encerra_documento();
  return 0;
}

extern "C" int ECFIF_linha_marcacao(int linha) {
  if (ECFLOG_modo & 2) ECFLOG_print("linha_marcacao(%d)", linha);
  return 0;
}
