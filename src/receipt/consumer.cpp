// Consumer identification and the consumer block sent with the documents
// that carry one.
#include "receipt/common.h"

using namespace ecf::receipt;

namespace {

struct CampoConsumidor {
  ecf::nv::Field campo;
  std::size_t max;  // characters, without the terminator
};

constexpr std::array<CampoConsumidor, 3> campos_consumidor{{
    {ecf::nv::consumidor_cpf_cnpj, 29},
    {ecf::nv::consumidor_nome, 30},
    {ecf::nv::consumidor_endereco, 80},
}};

}  // namespace

extern "C" int ECFIF_identifica_consumidor(int tipo, const char *texto) {
  registra(log_protocolo, "identifica_consumidor(%d,%s).", tipo, txt(texto));
  if (tipo == 0) {
    esquece_consumidor();
  } else if (tipo >= 1 && tipo <= 3) {
    const CampoConsumidor &c = campos_consumidor[static_cast<std::size_t>(tipo - 1)];
    unsigned char *destino = ecf::nv::campo(c.campo);
    std::string_view s = limitado(texto, c.max);
    std::memcpy(destino, s.data(), s.size());
    std::memset(destino + s.size(), 0, c.max + 1 - s.size());
  }
  ecf::nv::marca_alterado();
  return 0;
}

extern "C" int ECFIF_suporta_id_consumidor(void) {
  return 1;
}

extern "C" int BMTCLOCAL_formata_dados_cliente(void *destino, const char *f1, const char *f2,
                                               const char *f3) {
  if (!destino) return 0;
  Argumentos<139> bloco;
  if (f1) {
    bloco.l(f1, 29);
    if (f2 && eh_mfd()) {
      bloco.l(f2, 30);
      if (f3) bloco.l(f3, 80);
    }
  }
  std::memcpy(destino, bloco.dados(), static_cast<std::size_t>(bloco.tamanho()));
  return bloco.tamanho();
}
