#include "setup/payment_file.h"

#include <cstring>
#include <string_view>

namespace ecf::setup::arquivo_fpag {
namespace {

constexpr std::string_view secao = "[FORMAS DE PAGAMENTO]";

struct Linha {
  char texto[max_linha + 2];  // the characters, the line end, a zero byte
  int tamanho = 0;            // characters before the line end
  long depois = 0;            // file offset after the line end
};

int maiuscula(int c) {
  return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

// The next character, with a carriage return before a line feed or at the
// end of the file read as one line feed: files written with CR LF line ends
// read as the others do.
int proximo(std::FILE *f, long &pos) {
  const int c = std::fgetc(f);
  if (c == EOF) return EOF;
  ++pos;
  if (c != '\r') return c;
  const int d = std::fgetc(f);
  if (d == '\n') {
    ++pos;
    return '\n';
  }
  if (d == EOF) return '\n';
  std::ungetc(d, f);
  return c;
}

// Finds texto from offset inicio, skipping comments and line ends, and reads
// the line that begins at its first matched character. A last line without
// its line end counts.
bool procura(std::FILE *f, long inicio, std::string_view texto, Linha &linha) {
  if (texto.empty() || std::fseek(f, inicio, SEEK_SET) != 0) return false;
  long pos = inicio;
  long primeiro = -1;
  std::size_t casados = 0;
  bool achou = false;
  for (;;) {
    const long antes = pos;
    const int c = proximo(f, pos);
    if (c == EOF) {
      achou = casados == texto.size();
      break;
    }
    if (c == '#') {
      int d;
      while ((d = proximo(f, pos)) != EOF && d != '\n') {
      }
      continue;
    }
    if (c == '\n') continue;
    if (casados == texto.size()) {
      achou = true;
      break;
    }
    if (maiuscula(c) == static_cast<unsigned char>(texto[casados])) {
      if (casados == 0) primeiro = antes;
      ++casados;
    } else {
      casados = 0;
    }
  }
  if (!achou || std::fseek(f, primeiro, SEEK_SET) != 0) return false;

  linha.tamanho = 0;
  pos = primeiro;
  for (;;) {
    const int c = proximo(f, pos);
    if (c == EOF || c == '\n') break;
    if (linha.tamanho == max_linha) return false;
    linha.texto[linha.tamanho++] = static_cast<char>(c);
  }
  linha.texto[linha.tamanho] = '\n';
  linha.texto[linha.tamanho + 1] = 0;
  linha.depois = pos;
  return true;
}

// The value after the key: leading blanks skipped, up to 16 characters kept,
// then blanks to 16. False when there is no character at all.
bool valor(const Linha &linha, std::string_view chave, Filtro filtro, Campo &campo) {
  int i = 0;
  const int fim_chave = static_cast<int>(chave.size());
  while (i < fim_chave && i < linha.tamanho) ++i;
  while (i < linha.tamanho && linha.texto[i] == ' ') ++i;
  int n = 0;
  for (; i < linha.tamanho && linha.texto[i] != 0 && n < tam_campo - 1; ++i, ++n)
    campo[n] = static_cast<unsigned char>(filtro(static_cast<unsigned char>(linha.texto[i])));
  if (n == 0) return false;
  for (; n < tam_campo - 1; ++n) campo[n] = ' ';
  campo[tam_campo - 1] = 0;
  return true;
}

}  // namespace

int le_secao(std::FILE *arquivo, int chaves, Campo *campos, Filtro filtro) {
  if (chaves > max_chaves) chaves = max_chaves;
  if (chaves > 0) std::memset(campos, 0, sizeof(Campo) * static_cast<std::size_t>(chaves));
  Linha linha;
  if (!procura(arquivo, 0, secao, linha)) return 3;
  const long inicio_chaves = linha.depois;
  int resultado = 4;
  for (int k = 1; k <= chaves; ++k) {
    Campo &campo = campos[k - 1];
    const char chave[4] = {static_cast<char>('0' + k / 10), static_cast<char>('0' + k % 10), '=',
                           0};
    if (procura(arquivo, inicio_chaves, chave, linha) && valor(linha, chave, filtro, campo))
      resultado = 0;
    else
      std::memset(campo, 0, tam_campo);
  }
  return resultado;
}

}  // namespace ecf::setup::arquivo_fpag
