// A small printer of this family for the configuration tests: it decodes the
// driver's frames (basic protocol), answers variable reads from a table and
// other commands from scripted replies, and records what it received.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ecftest {

struct Recebido {
  int comando;       // one-byte command, or 62 * 256 + sub-command
  std::string args;  // the argument bytes as they arrived
};

struct Resposta {
  uint8_t st1 = 0;
  uint8_t st2 = 0;
};

class ImpressoraFalsa {
 public:
  // Data sizes of the answers the driver expects.
  static int tamanho_variavel(int v) {
    static const std::map<int, int> tamanhos = {
        {0, 15},  {1, 2},  {6, 3},    {9, 2},    {10, 2}, {11, 2},    {14, 2},
        {17, 1},  {22, 7}, {27, 3},   {28, 1},   {29, 2}, {32, 1925}, {33, 1550},
        {40, 20}, {41, 3}, {49, 620}, {50, 780}, {59, 2}, {60, 42}};
    auto it = tamanhos.find(v);
    return it == tamanhos.end() ? -1 : it->second;
  }
  static int tamanho_comando(int c) {
    switch (c) {
      case 26:
        return 33;
      case 29:
        return 7;
      case 71:
        return 2;
      default:
        return 0;
    }
  }
  static bool status_apos_dados(int c) { return c == 26 || c == 29 || c == 35 || c == 71; }

  // Variable contents; shorter data is padded with zero bytes.
  std::map<int, std::string> variaveis;
  // Variables refused with these status bytes.
  std::map<int, Resposta> variaveis_recusadas;
  // Replies for other commands, consumed in order; the last one stays.
  std::map<int, std::deque<Resposta>> respostas;
  std::map<int, std::string> dados_comando;
  std::vector<Recebido> recebidos;

  void define(int v, std::string_view dados) { variaveis[v] = std::string(dados); }
  void recusa(int v, uint8_t st1 = 0x08, uint8_t st2 = 0x01) {
    variaveis_recusadas[v] = {st1, st2};
  }
  void responde(int c, Resposta r) { respostas[c].push_back(r); }
  // The first n reads of v succeed, later ones are refused.
  void recusa_a_partir_de(int v, int n, uint8_t st1 = 0x08, uint8_t st2 = 0x01) {
    leituras_permitidas_[v] = n;
    recusa(v, st1, st2);
  }

  std::vector<int> comandos() const {
    std::vector<int> c;
    for (const auto &r : recebidos) c.push_back(r.comando);
    return c;
  }
  int vezes(int comando) const {
    int n = 0;
    for (const auto &r : recebidos) n += r.comando == comando;
    return n;
  }
  std::vector<int> variaveis_lidas() const {
    std::vector<int> v;
    for (const auto &r : recebidos)
      if (r.comando == 35 && !r.args.empty()) v.push_back(static_cast<uint8_t>(r.args[0]));
    return v;
  }

  // Bytes from the driver in; the answer bytes of every complete frame out.
  std::string recebe(std::string_view bytes) {
    entrada_.append(bytes);
    std::string saida;
    while (entrada_.size() >= 3) {
      if (static_cast<uint8_t>(entrada_[0]) != 0x02) {
        entrada_.erase(0, 1);
        continue;
      }
      const std::size_t l =
          static_cast<uint8_t>(entrada_[1]) | (static_cast<uint8_t>(entrada_[2]) << 8);
      if (entrada_.size() < 3 + l) break;
      const std::string quadro = entrada_.substr(3, l);
      entrada_.erase(0, 3 + l);
      saida += atende(quadro);
    }
    return saida;
  }

 private:
  std::string atende(const std::string &q) {
    if (q.size() < 4) return "\x15";
    std::size_t p = 1;
    int comando = static_cast<uint8_t>(q[p++]);
    if (comando == 62 && q.size() >= 5) comando = 62 * 256 + static_cast<uint8_t>(q[p++]);
    Recebido r{comando, q.substr(p, q.size() - p - 2)};
    recebidos.push_back(r);
    if (comando == 35) return variavel(r.args.empty() ? -1 : static_cast<uint8_t>(r.args[0]));
    Resposta st{};
    auto it = respostas.find(comando);
    if (it != respostas.end() && !it->second.empty()) {
      st = it->second.front();
      if (it->second.size() > 1) it->second.pop_front();
    }
    std::string dados(static_cast<std::size_t>(tamanho_comando(comando)), '\0');
    auto d = dados_comando.find(comando);
    if (d != dados_comando.end())
      dados.replace(0, std::min(dados.size(), d->second.size()), d->second.substr(0, dados.size()));
    return monta(status_apos_dados(comando), dados, st);
  }

  std::string variavel(int v) {
    const int n = tamanho_variavel(v);
    std::string dados(static_cast<std::size_t>(n < 0 ? 3 : n), '\0');
    auto recusa = variaveis_recusadas.find(v);
    auto permitidas = leituras_permitidas_.find(v);
    const bool permitida = permitidas != leituras_permitidas_.end() && permitidas->second-- > 0;
    if (recusa != variaveis_recusadas.end() && !permitida)
      return monta(true, dados, recusa->second);
    auto it = variaveis.find(v);
    if (it != variaveis.end())
      dados.replace(0, std::min(dados.size(), it->second.size()),
                    it->second.substr(0, dados.size()));
    return monta(true, dados, {});
  }

  static std::string monta(bool apos, const std::string &dados, Resposta st) {
    std::string a(1, '\x06');
    const std::string status{static_cast<char>(st.st1), static_cast<char>(st.st2)};
    if (apos) return a + dados + status;
    return a + status + ((st.st2 & 1) ? std::string() : dados);
  }

  std::string entrada_;
  std::map<int, int> leituras_permitidas_;
};

}  // namespace ecftest
