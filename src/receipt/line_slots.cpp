// Stored text lines: the extra description lines of the next item and the
// promotional lines of the closing.
#include "receipt/common.h"

using namespace ecf::receipt;

namespace {

constexpr std::size_t max_texto_slot = tam_slot - 2;  // in-use byte and terminator

}  // namespace

extern "C" void ECFBMTCAUX_limpa_linhas(unsigned char *tabela, int qtd_slots) {
  if (!tabela || qtd_slots < 1) return;
  std::memset(tabela, 0, tam_slot * static_cast<std::size_t>(qtd_slots));
  ecf::nv::marca_alterado();
}

extern "C" void ECFBMTCAUX_guarda_linha(unsigned char *tabela, int qtd_slots, int indice,
                                        const char *texto) {
  if (!tabela || ECFBMTC_num_col_ecf < 1 || indice < 0 || indice >= qtd_slots) return;
  const char *t = texto ? texto : "";
  if (indice == 0 && *t == '\0') {
    ECFBMTCAUX_limpa_linhas(tabela, qtd_slots);
    return;
  }
  std::size_t max = std::min(static_cast<std::size_t>(ECFBMTC_num_col_ecf), max_texto_slot);
  std::string_view s = limitado(t, max);
  unsigned char *slot = tabela + tam_slot * static_cast<std::size_t>(indice);
  std::memset(slot, 0, tam_slot);
  std::memcpy(slot + 1, s.data(), s.size());
  slot[0] = 1;
  ecf::nv::marca_alterado();
}

extern "C" int ECFIF_descritivo(int indice, const char *texto) {
  registra(log_interface, "descritivo(%d,%s)", indice, txt(texto));
  ECFBMTCAUX_guarda_linha(descritivo(), slots_descritivo, indice, texto);
  return 0;
}

extern "C" int ECFIF_consiste_linha(const char *texto) {
  registra(log_interface, "consiste_linha(%s)", txt(texto));
  return 0;
}

extern "C" int ECFIF_publicit(int indice, const char *texto) {
  registra(log_protocolo, "publicit(%d,%s)", indice, txt_vazio(texto));
  ECFBMTCAUX_guarda_linha(publicidade(), slots_publicidade, indice, texto);
  return 0;
}
