// Names of the printer's non-fiscal totalizers.
#include <cstdio>
#include <cstring>

#include "core/answer.h"
#include "core/catalog.h"
#include "core/models.h"
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "setup/payment_name.h"

namespace cmd = ecf::core::cmd;
namespace var = ecf::core::var;

namespace {

namespace nome = ecf::setup::nome_fpag;

constexpr int tam_entrada_mfd = 19;
constexpr int pos_nome = 12;
constexpr int tam_entrada = 31;
constexpr std::size_t tam_registro = 18;

// Older printers keep cash entries and withdrawals outside the table.
constexpr int indice_suprimento = 50;
constexpr int indice_sangria = 51;

void escreve(unsigned char *registro, const unsigned char *origem, const char *prefixo, bool log) {
  char texto[nome::tam_campo];
  nome::copia_da_tabela(texto, origem);
  registro[0] = 2;
  std::memcpy(registro + 1, texto, nome::tam_nome);
  registro[tam_registro - 1] = 0;
  if (log) ECFLOG_print("%s [%s]", prefixo, origem[0] != 0 ? texto : "(null)");
}

}  // namespace

extern "C" int ECFIF_le_cnf(int indice, void *registro) {
  char prefixo[32] = "";
  const bool log = (ECFLOG_modo & 1) != 0;
  if (log) std::snprintf(prefixo, sizeof prefixo, "le_cnf(%d):", indice);
  const bool mfd = ecf::core::eh_mfd();
  auto *r = static_cast<unsigned char *>(registro);
  if (!mfd && (indice == indice_suprimento || indice == indice_sangria)) {
    if (r == nullptr) return 2;
    const char *fixo = indice == indice_suprimento ? "SUPRIMENTO" : "SANGRIA";
    unsigned char origem[nome::tam_nome] = {};
    std::memcpy(origem, fixo, std::strlen(fixo));
    escreve(r, origem, prefixo, log);
    return 0;
  }
  const int ultimo = mfd ? 29 : 49;
  if (indice < 0 || indice > ultimo) {
    if (log) ECFLOG_print("%s r=%d.", prefixo, 19);
    return 19;
  }
  if (r == nullptr) return 2;
  const int ret = ECFBMTC_le_parametro(mfd ? var::cnf_mfd : var::cnf);
  if (ret != 0) {
    if (log && mfd) ECFLOG_print("%s r=%d.", prefixo, ret);
    return ret;
  }
  unsigned char origem[nome::tam_nome];
  const int pos = mfd ? tam_entrada_mfd * indice : pos_nome + tam_entrada * indice;
  ecf::core::resposta::copia_dados(origem, pos, nome::tam_nome);
  escreve(r, origem, prefixo, log);
  return 0;
}
