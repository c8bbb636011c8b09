#include "documents/bank_layout.h"

#include <cstring>

#include "core/files.h"

namespace ecf::documentos {
namespace {

constexpr std::array<GrupoLayout, 3> grupos{{
    {"BMTBANCO.CFG", "00151100106185054710205081012"},
    {"BTMFDBAN.CFG", "00151100106185054650205081012"},
    {"I4610BAN.CFG", "00170100202366066820305070810"},
}};

// A layout file is a few lines a bank; more than this is not one.
constexpr std::size_t max_bytes_arquivo = 1 << 20;

bool digito(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

const GrupoLayout &grupo_layout(int grupo) {
  return grupos[grupo >= 0 && grupo < static_cast<int>(grupos.size()) ? grupo : 0];
}

CodigoBanco codigo_banco(const char *banco) {
  CodigoBanco c{'0', '0', '0'};
  const std::size_t n = banco ? strnlen(banco, 256) : 0;
  const std::size_t usados = n < c.size() ? n : c.size();
  if (usados == 0) return c;
  std::memcpy(c.data() + c.size() - usados, banco + n - usados, usados);
  return c;
}

Layout bytes_da_linha(std::string_view linha) {
  Layout l;
  for (std::size_t i = 3; i + 1 < linha.size() && l.n < l.bytes.size(); i += 2) {
    if (!digito(linha[i]) || !digito(linha[i + 1])) break;
    l.bytes[l.n++] = static_cast<unsigned char>((linha[i] - '0') * 10 + (linha[i + 1] - '0'));
  }
  return l;
}

void ProcuraLayout::le(std::string_view pedaco) {
  for (char c : pedaco) {
    if (achou_) return;
    if (c == '\r' || c == '\n') {
      termina_linha();
    } else if (c != ' ' && c != '|' && n_ < linha_.size()) {
      linha_[n_++] = c;
    }
  }
}

void ProcuraLayout::termina_linha() {
  const std::string_view linha(linha_.data(), n_);
  n_ = 0;
  if (achou_ || linha.size() < 3) return;
  if (std::memcmp(linha.data(), codigo_.data(), codigo_.size()) != 0) return;
  layout_ = bytes_da_linha(linha);
  achou_ = true;
}

Layout layout_do_banco(int grupo, const char *banco) {
  const GrupoLayout &g = grupo_layout(grupo);
  ProcuraLayout procura(codigo_banco(banco));
  if (const core::arquivos::Arquivo f = core::arquivos::abre_leitura(g.arquivo)) {
    char pedaco[512];
    std::size_t lidos = 0;
    while (!procura.achou() && lidos < max_bytes_arquivo) {
      const long n = core::arquivos::le(f, pedaco, sizeof pedaco);
      if (n <= 0) break;
      lidos += static_cast<std::size_t>(n);
      procura.le({pedaco, static_cast<std::size_t>(n)});
    }
    procura.fim();
  }
  if (procura.achou()) return procura.layout();
  return bytes_da_linha(g.linha_padrao);
}

}  // namespace ecf::documentos
