// The linked receipt: opened on the newest stored payment the printer
// accepts, its text through the line buffer, closed by command 21.
#include "documents/document_common.h"

using namespace ecf::documents;

namespace {

constexpr std::size_t tam_nome = 16;
constexpr std::size_t tam_valor = 14;
constexpr std::size_t tam_coo = 6;
constexpr std::size_t pos_valor = 7;
constexpr std::size_t pos_nome = 22;
static_assert(pos_nome + tam_nome + 1 == tam_pagto);
static_assert(pos_valor + tam_valor + 1 == pos_nome);

int qtd_pagtos() {
  return std::min(ecf::nv::qtd_pagtos(), max_pagtos);
}

// Command 66 for one payment record, with the consumer block on the
// printers that take it.
int envia_abertura(const unsigned char *reg, const char *f1, const char *f2, const char *f3) {
  Argumentos<tam_nome + tam_valor + tam_coo + 139> a;
  const auto campo = [reg](std::size_t pos, std::size_t n) {
    return std::string_view(reinterpret_cast<const char *>(reg + pos), n);
  };
  a.texto(campo(pos_nome, tam_nome));
  a.texto(campo(pos_valor, tam_valor));
  a.texto(campo(0, tam_coo));
  if ((f1 || f2 || f3) && eh_mfd()) {
    unsigned char bloco[140];
    const int n = BMTCLOCAL_formata_dados_cliente(bloco, f1, f2, f3);
    a.texto({reinterpret_cast<const char *>(bloco), static_cast<std::size_t>(n)});
  }
  return ecf::core::envia_documento("cnf_vinculado", cmd::abre_vinculado, a.vista());
}

int abre(const char *f1, const char *f2, const char *f3) {
  for (int n = qtd_pagtos(); n > 0; n = qtd_pagtos()) {
    const int r = envia_abertura(ecf::nv::pagto_vinculavel(n - 1), f1, f2, f3);
    // Unsettled, the record stays for the repeat: another one would open a
    // second linked receipt.
    if (ecf::core::resposta_perdida(r)) return r;
    bool aberto = r == 0;
    if (aberto) {
      esquece_consumidor();
    } else if (le_estado(ecf::core::vinculado_aberto)) {
      aberto = tratado_como_ok("cnf_vinculado", r) == 0;
    }
    // The record is used, or refused: either way it is not offered again.
    ecf::nv::muda_qtd_pagtos(n - 1);
    if (aberto) {
      muda_estado_doc(doc::vinculado);
      esvazia_buffer_linhas();
      return 0;
    }
  }
  return 1;
}

}  // namespace

extern "C" int ECFBMTC_cnfcd_abrir(const char *f1, const char *f2, const char *f3) {
  registra(log_interface, "cnfcd_abrir(%s,%s,%s)...", txt(f1), txt(f2), txt(f3));
  const int r = abre(f1, f2, f3);
  registra(log_protocolo, "cnfcd_abrir()=%d.", r);
  return r;
}

extern "C" int ECFIF_cnf_vinculado(void) {
  registra(log_interface, "cnf_vinculado()...");
  marca_repeticao(Repete::ultimo_comando);
  // The block is built before the fields are forgotten, so pointing into the
  // record is safe.
  const int r = abre(consumidor(ecf::nv::consumidor_cpf_cnpj), consumidor(ecf::nv::consumidor_nome),
                     consumidor(ecf::nv::consumidor_endereco));
  if (r != 0) marca_repeticao(Repete::cnf_vinculado);
  registra(log_protocolo, "cnf_vinculado()=%d.", r);
  return r;
}

extern "C" int ECFIF_fim_cnf_vinc(void) {
  return fecha_documento_texto("fim_cnf_vinc", Repete::fim_cnf_vinc);
}

extern "C" int ECFBMTC_cnfcd_reimpressao(void) {
  return eh_mfd() ? ECFBMTC_exec(cmd::reimpressao_vinculado) : 15;
}

extern "C" int ECFBMTC_cnfcd_segunda_via(void) {
  return eh_mfd() ? ECFBMTC_exec(cmd::segunda_via_vinculado) : 15;
}

extern "C" int ECFIF_copia_de_cnf_vinculado(void) {
  registra(log_interface, "copia_de_cnf_vinculado()");
  return ECFBMTC_cnfcd_reimpressao();
}

extern "C" int ECFBMTC_le_vinculavel(int indice, void *destino) {
  if (indice < 0 || indice >= max_pagtos || !destino) return 2;
  auto *d = static_cast<unsigned char *>(destino);
  if (indice < qtd_pagtos()) {
    std::memcpy(d, ecf::nv::pagto_vinculavel(indice), tam_pagto);
    return 0;
  }
  std::memset(d, 0, tam_pagto);
  std::memset(d, '0', tam_coo);
  std::memset(d + pos_valor, '0', tam_valor);
  std::memset(d + pos_nome, ' ', tam_nome);
  return 0;
}
