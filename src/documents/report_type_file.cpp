#include "documents/report_type_file.h"

#include "core/command.h"
#include "core/files.h"

namespace ecf::documents {

namespace {

constexpr std::size_t max_linha = 46;
constexpr char fim_de_arquivo = 26;

bool digito(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<int> tipo_da_linha(std::string_view s) {
  const std::size_t fim = s.find('\n');
  if (fim == std::string_view::npos || fim > max_linha) return std::nullopt;
  const std::string_view linha = ecf::core::texto::parte(s, 0, fim);
  if (linha.find(fim_de_arquivo) != std::string_view::npos) return std::nullopt;
  std::size_t n = 0;
  while (n < linha.size() && digito(linha[n])) ++n;
  // The digits are followed by some character, the line feed at least.
  if (n < 1 || n > 2) return std::nullopt;
  int tipo = 0;
  for (std::size_t i = 0; i < n; ++i) tipo = tipo * 10 + (linha[i] - '0');
  return tipo;
}

std::optional<int> le_tipo_relatorio() {
  const auto arquivo = ecf::core::arquivos::abre_leitura(arquivo_tipo_relatorio);
  if (!arquivo) return std::nullopt;
  // The longest line that counts and its line feed; the rest is never read.
  char buf[max_linha + 1];
  const long n = ecf::core::arquivos::le(arquivo, buf, sizeof buf);
  if (n <= 0) return std::nullopt;
  return tipo_da_linha({buf, static_cast<std::size_t>(n)});
}

}  // namespace ecf::documents
