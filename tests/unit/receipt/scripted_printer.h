// A small printer for the receipt tests: it decodes each request frame the
// driver writes, records the command and its argument bytes, and answers as
// the printer would, from a few variables and a queue of refusals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace receipt_test {

struct Comando {
  int numero;        // 0..255, or the pseudo-command 62xx
  std::string args;  // argument bytes as sent
};

struct Resposta {
  uint8_t st1 = 0;
  uint8_t st2 = 0;
  uint16_t execucao = 0;
};

class ImpressoraRoteirizada {
 public:
  // Printer variables and command-30 counter the answers are built from.
  std::map<int, std::string> variaveis;
  // Values a variable takes on its next reads, before `variaveis` applies.
  std::map<int, std::deque<std::string>> proximas_leituras;
  std::string coo_bcd = std::string("\x00\x12\x34", 3);
  bool estendido = false;

  ImpressoraRoteirizada() {
    flag17(0x01);
    var27(false);
    variaveis[22] = std::string(7, '\0');
  }

  // The next `vezes` frames of this command are refused with `r`.
  void recusa(int numero, Resposta r, int vezes = 1) {
    for (int i = 0; i < vezes; ++i) recusas_[numero].push_back(r);
  }
  void flag17(uint8_t f) { variaveis[17] = std::string(1, static_cast<char>(f)); }
  void proximo_flag17(uint8_t f) {
    proximas_leituras[17].push_back(std::string(1, static_cast<char>(f)));
  }
  void var27(bool algo) {
    variaveis[27] = algo ? std::string("\x00\x00\x01", 3) : std::string(3, '\0');
  }

  // Bytes the driver wrote; returns the bytes to put on the line, if a whole
  // frame has arrived.
  std::string recebe(const std::string &bytes) {
    entrada_ += bytes;
    std::string saida;
    for (;;) {
      auto inicio = entrada_.find('\x02');
      if (inicio == std::string::npos) {
        entrada_.clear();
        break;
      }
      entrada_.erase(0, inicio);
      if (entrada_.size() < 3) break;
      std::size_t l = uint8_t(entrada_[1]) | std::size_t(uint8_t(entrada_[2])) << 8;
      if (entrada_.size() < 3 + l) break;
      std::string corpo = entrada_.substr(3, l);
      entrada_.erase(0, 3 + l);
      Comando c;
      std::size_t p = 1;
      int b = uint8_t(corpo[p++]);
      c.numero = b == 62 ? 6200 + uint8_t(corpo[p++]) : b;
      c.args = corpo.substr(p, l - p - 2);
      comandos.push_back(c);
      saida += responde(c);
    }
    return saida;
  }

  std::vector<Comando> comandos;
  std::vector<int> numeros() const {
    std::vector<int> n;
    for (const auto &c : comandos) n.push_back(c.numero);
    return n;
  }
  // The argument bytes of the last frame of this command.
  std::string args_de(int numero) const {
    for (auto it = comandos.rbegin(); it != comandos.rend(); ++it)
      if (it->numero == numero) return it->args;
    return "<none>";
  }
  void limpa() { comandos.clear(); }

 private:
  // Data bytes of the answer, for the commands whose data comes before the
  // status bytes.
  std::string dados(const Comando &c) {
    if (c.numero == 35) {
      int v = uint8_t(c.args.empty() ? 0 : c.args[0]);
      auto &fila = proximas_leituras[v];
      if (!fila.empty()) {
        std::string d = fila.front();
        fila.pop_front();
        return d;
      }
      auto it = variaveis.find(v);
      return it == variaveis.end() ? std::string(3, '\0') : it->second;
    }
    if (c.numero == 30) return coo_bcd;
    if (c.numero == 29) return std::string(7, '\0');
    return {};
  }
  static bool dados_primeiro(int n) { return n == 35 || n == 30 || n == 29; }

  std::string responde(const Comando &c) {
    Resposta r;
    auto &fila = recusas_[c.numero];
    if (!fila.empty()) {
      r = fila.front();
      fila.pop_front();
    }
    std::string s(1, '\x06');
    std::string st{char(r.st1), char(r.st2)};
    std::string ex{char(r.execucao & 0xFF), char(r.execucao >> 8)};
    if (dados_primeiro(c.numero)) {
      s += dados(c) + st;
      if (estendido) s += ex;
    } else {
      s += st;
      if (estendido) s += ex;
    }
    return s;
  }
  std::string entrada_;
  std::map<int, std::deque<Resposta>> recusas_;
};

}  // namespace receipt_test
