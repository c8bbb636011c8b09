// Fixture of the configuration tests: the driver against a fake printer.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <initializer_list>
#include <string>

#include "config/fake_printer.h"
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "platform/test_platform.h"

namespace ecftest {

inline std::string bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s.push_back(static_cast<char>(v));
  return s;
}

// The record the last discovery call returned.
inline std::string retornado() {
  return std::string(reinterpret_cast<const char *>(ECFIF_retornado),
                     static_cast<std::size_t>(ECFIF_tam_retorno));
}

inline Resposta status_para(int resultado) {
  switch (resultado) {
    case 0:
      return {0x00, 0x00};
    case 1:
      return {0x20, 0x01};
    case 2:
      return {0x01, 0x01};
    case 9:
      return {0x00, 0x03};
    case 12:
      return {0x10, 0x01};
    case 15:
      return {0x08, 0x01};
    case 34:
      return {0x00, 0x01};
    default:
      ADD_FAILURE() << "no status for " << resultado;
      return {};
  }
}

// A printer model behind the test platform's serial line: bytes in, its answers out.
template <class Impressora>
class LinhaPara : public LinePeer {
 public:
  explicit LinhaPara(Impressora &impressora) : impressora_(impressora) {}
  void from_driver(std::uint8_t b, std::int64_t) override {
    for (char c : impressora_.recebe(std::string(1, static_cast<char>(b))))
      saida_.push_back(static_cast<std::uint8_t>(c));
  }
  int to_driver(std::int64_t) override {
    if (saida_.empty()) return -1;
    const int b = saida_.front();
    saida_.pop_front();
    return b;
  }
  void limpa() { saida_.clear(); }

 private:
  Impressora &impressora_;
  std::deque<std::uint8_t> saida_;
};

class ConfigTest : public ::testing::Test {
 protected:
  ImpressoraFalsa impressora;
  LinhaPara<ImpressoraFalsa> linha{impressora};

  void SetUp() override { reinicia(); }
  void TearDown() override {
    set_peer(nullptr);
    reset();
  }

  // A fresh driver and printer, as after loading into a new host.
  void reinicia() {
    reset();
    impressora = ImpressoraFalsa{};
    linha.limpa();
    set_peer(&linha);
    BMTCLOCAL_flg_vers = 0;
    ECFBMTC_modelo_ecf = 0;
    ECFBMTC_num_col_ecf = 0;
    ECFBMTC_carregou_fpag = 0;
    ECFLOG_modo = 3;
  }

  // An MFD printer of the model with this name.
  void impressora_mfd(const char *nome, int versao) {
    impressora.define(14, std::string("\x01\x00", 2));
    impressora.define(
        41, std::string{static_cast<char>(versao >> 8), 0, static_cast<char>(versao & 0xFF)});
    std::string v60(42, '\0');
    std::string n(nome);
    n.resize(20, ' ');
    v60.replace(15, 20, n);
    impressora.define(60, v60);
  }

  // An older printer with this serial number in variable 0.
  void impressora_antiga(const char *serie, int versao) {
    impressora.define(14, std::string("\x01\x00", 2));
    impressora.recusa(41);
    impressora.define(
        1, std::string{static_cast<char>(versao >> 8), static_cast<char>(versao & 0xFF)});
    impressora.define(0, serie);
  }

  // The model is known and the printer answers: for the buffer and tables.
  void modelo_conhecido(bool mfd, int colunas = 48) {
    BMTCLOCAL_flg_vers = mfd ? 1 : 0;
    ECFBMTC_num_col_ecf = colunas;
  }
};

}  // namespace ecftest
