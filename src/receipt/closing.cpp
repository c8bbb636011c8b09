// Closing the fiscal receipt, with the promotional lines; hands over to the
// non-fiscal or linked receipt when that is what the printer has open.
#include "core/reset.h"
#include "receipt/common.h"

using namespace ecf::receipt;

namespace {

constexpr unsigned char expandido = 14;
constexpr unsigned char nova_linha = 10;

// Set while the closing hands over to another document's end, which may
// come back here; the second time the failure is returned instead.
bool entregando = false;
const ecf::core::Reinicio reinicio([] { entregando = false; });

void fechado() {
  muda_estado_doc(doc::nenhum);
  ECFBMTCAUX_limpa_linhas(publicidade(), slots_publicidade);
}

}  // namespace

extern "C" int ECFBMTC_fecha_cupom(const char *l1, const char *l2, const char *l3, const char *l4,
                                   const char *l5, const char *l6, const char *l7, const char *l8) {
  constexpr std::size_t max_coluna = tam_slot - 2;
  Argumentos<slots_publicidade *(max_coluna + 2)> texto;
  if (ECFBMTC_num_col_ecf >= 1) {
    const std::size_t colunas = std::min(static_cast<std::size_t>(ECFBMTC_num_col_ecf), max_coluna);
    for (const char *linha : {l1, l2, l3, l4, l5, l6, l7, l8}) {
      if (!linha) continue;
      if (*linha == '!') {
        texto.byte(expandido);
        ++linha;
      }
      std::string_view s = limitado(linha, colunas);
      texto.texto(s);
      if (s.size() < colunas) texto.byte(nova_linha);
    }
  }
  if (ECFBMTCAUX_idaplica[0] != '\0') {
    int ri = ECFBMTCAUX_id_aplicacao(ECFBMTCAUX_idaplica);
    if (ri != 0) tratado_como_ok("id_aplicacao", ri);
  }
  registra(log_protocolo, "fecha_cupom()...");
  int r = envia(cmd::fecha_cupom, texto);
  registra(log_protocolo, "fecha_cupom()=%d.", r);
  if (r == 0) {
    fechado();
    return 0;
  }
  unsigned char estado = 0;
  if (ECFBMTC_le_estado_do_ecf(&estado) != 0) return r;
  if (ecf::core::sem_documento_aberto(estado)) {
    tratado_como_ok("fecha_cupom", r);
    fechado();
    return 0;
  }
  if ((estado == ecf::core::cnf_aberto || estado == ecf::core::vinculado_aberto) && !entregando) {
    entregando = true;
    AoSair fim([] { entregando = false; });
    return estado == ecf::core::cnf_aberto ? ECFIF_fim_cnf() : ECFIF_fim_cnf_vinc();
  }
  return r;
}

namespace ecf::receipt {

int fecha_com_publicidade() {
  const char *linhas[slots_publicidade];
  const unsigned char *slot = publicidade();
  for (int i = 0; i < slots_publicidade; ++i, slot += tam_slot) {
    linhas[i] = slot[0] == 1 ? reinterpret_cast<const char *>(slot + 1) : nullptr;
  }
  return ECFBMTC_fecha_cupom(linhas[0], linhas[1], linhas[2], linhas[3], linhas[4], linhas[5],
                             linhas[6], linhas[7]);
}

}  // namespace ecf::receipt

extern "C" int ECFIF_fim_venda(void) {
  registra(log_protocolo, "fim_venda()...");
  // A payment whose answer was lost reaches the record before the close.
  int r = 0;
  ecf::core::assenta_pendente(0, r);
  marca_repeticao(Repete::ultimo_comando);
  r = fecha_com_publicidade();
  if (r == 0)
    muda_estado_doc(doc::nenhum);
  else
    marca_repeticao(Repete::fim_venda);
  registra(log_protocolo, "fim_venda()=%d.", r);
  return r;
}
