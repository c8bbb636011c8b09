#include "core/lost_answer.h"

#include <algorithm>
#include <cstring>

#include "core/answer.h"
#include "core/catalog.h"
#include "core/command.h"
#include "core/reset.h"
#include "ecfbmtc/transport.h"

namespace ecf::core {

namespace {

struct Pendente {
  bool ativo = false;
  bool nada_enviado = false;  // the command itself never went out
  int resultado = 0;          // the lost answer's failure
  Incerto comando;
};

Pendente g_pendente;
const Reinicio reinicio([] { g_pendente = Pendente{}; });

int envia_bytes(int comando, const unsigned char *a, int n) {
  return ECFBMTC_exec_argum(comando, n > 0 ? a : nullptr, n);
}

int deixa_pendente(const Incerto &i, int resultado, bool nada_enviado) {
  g_pendente.ativo = true;
  g_pendente.nada_enviado = nada_enviado;
  g_pendente.resultado = resultado;
  g_pendente.comando = i;
  // The repeat goes to the pending command, not to an older operation.
  marca_repeticao(Repete::ultimo_comando);
  return resultado;
}

// Settles the pending command from the printer's state; with `refaz` one
// the printer did not carry out is sent again.
int acerta(bool refaz) {
  const Pendente p = g_pendente;
  g_pendente = Pendente{};
  const Incerto &i = p.comando;
  const Feito f = p.nada_enviado ? Feito::nao : i.feito(i);
  if (f == Feito::sim) {
    if (i.aceito) i.aceito(i);
    return tratado_como_ok(i.nome, p.resultado);
  }
  if (f == Feito::nao && refaz) return envia_conferindo(i);
  return deixa_pendente(i, p.resultado, p.nada_enviado);
}

int repete_pendente() {
  return acerta(true);
}

}  // namespace

int le_figura(int comando, int bytes, Figura &figura) {
  const int r = ECFBMTC_exec(comando);
  figura.fill(0);
  if (r == 0) resposta::copia_dados(figura.data(), 0, std::min<int>(bytes, figura.size()));
  return r;
}

Feito figura_mudou(int comando, int bytes, const Figura &antes) {
  Figura agora;
  if (le_figura(comando, bytes, agora) != 0) return Feito::nao_se_sabe;
  return agora == antes ? Feito::nao : Feito::sim;
}

int envia_documento(const char *nome, int comando, std::string_view argumentos) {
  Chave chave(comando);
  for (char c : argumentos) chave.com(static_cast<unsigned char>(c));
  int r = 0;
  if (assenta_pendente(chave.valor(), r)) return r;
  Incerto i;
  i.nome = nome;
  i.chave = chave.valor();
  i.comando = comando;
  i.com_argumentos(argumentos);
  i.fotografa = [](Incerto &e) { return le_figura(cmd::le_coo, 3, e.antes); };
  i.feito = [](const Incerto &e) { return figura_mudou(cmd::le_coo, 3, e.antes); };
  return envia_conferindo(i);
}

void Incerto::com_argumentos(std::string_view a) {
  tamanho = static_cast<int>(std::min(a.size(), argumentos.size()));
  if (tamanho > 0) std::memcpy(argumentos.data(), a.data(), static_cast<std::size_t>(tamanho));
}

void Incerto::com_preludio(int comando_preludio, std::string_view a) {
  preludio = comando_preludio;
  tamanho_preludio = static_cast<int>(std::min(a.size(), argumentos_preludio.size()));
  if (tamanho_preludio > 0)
    std::memcpy(argumentos_preludio.data(), a.data(), static_cast<std::size_t>(tamanho_preludio));
}

Chave &Chave::com(const char *texto) {
  if (!texto) {
    mistura(-1);
    return *this;
  }
  for (const char *c = texto; *c; ++c) byte(static_cast<unsigned char>(*c));
  mistura(0);
  return *this;
}

int envia_conferindo(const Incerto &pedido) {
  Incerto i = pedido;
  if (i.fotografa) {
    const int r = i.fotografa(i);
    if (r != 0) return resposta_perdida(r) ? deixa_pendente(i, r, true) : r;
  }
  if (i.preludio != 0) {
    const int r = envia_bytes(i.preludio, i.argumentos_preludio.data(), i.tamanho_preludio);
    // The prelude alone prints nothing: a lost answer leaves the command unsent.
    if (r != 0) return resposta_perdida(r) ? deixa_pendente(i, r, true) : r;
  }
  if (i.ao_enviar) i.ao_enviar(i);
  const int r = envia_bytes(i.comando, i.argumentos.data(), i.tamanho);
  if (r == 0) {
    if (i.aceito) i.aceito(i);
    return 0;
  }
  if (!resposta_perdida(r)) return r;
  deixa_pendente(i, r, false);
  return acerta(false);
}

bool assenta_pendente(std::uint64_t chave, int &resultado) {
  if (!g_pendente.ativo) return false;
  if (g_pendente.comando.chave == chave) {
    resultado = acerta(true);
    return true;
  }
  // The host went on: what the printer did still reaches the record.
  acerta(false);
  g_pendente = Pendente{};
  return false;
}

Operacao operacao_pendente() {
  return g_pendente.ativo ? repete_pendente : nullptr;
}

}  // namespace ecf::core
