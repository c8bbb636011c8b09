// Common set-up of the receipt tests: a clean persistent record, a model, and
// the scripted printer on the test line.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/config_fixture.h"
#include "ecfbmtc.h"
#include "ecfbmtc/documents.h"
#include "platform/platform.h"
#include "platform/test_platform.h"
#include "scripted_printer.h"

namespace receipt_test {

struct Modelo {
  int codigo;
  int colunas;
  bool mfd;
};
inline constexpr Modelo mp20{1, 48, false};
inline constexpr Modelo mp40{3, 40, false};
inline constexpr Modelo mp2000{5, 48, true};
inline constexpr Modelo mp7000{7, 48, true};
inline constexpr Modelo kn4{10, 48, true};
inline constexpr Modelo mp4000{12, 48, true};

class ReciboTest : public ::testing::Test {
 protected:
  ImpressoraRoteirizada imp;
  ecftest::LinhaPara<ImpressoraRoteirizada> ligacao{imp};

  void SetUp() override {
    ecftest::reset();
    std::memset(ECFBMTCAUX_idaplica, 0, sizeof ECFBMTCAUX_idaplica);
    ECFBMTCAUX_configurada_idaplica = 0;
    ECFLOG_modo = 3;
    usa(mp2000);
    ecftest::set_peer(&ligacao);
    // A classic item fixes the first description line at 29 characters.
    ECFBMTC_registra_item("1", "x", "T1", "1", "1");
    imp.limpa();
    ECFIF_nvmem.flags = 0;
  }
  void TearDown() override {
    ecftest::set_peer(nullptr);
    ecftest::reset();
  }

  void usa(const Modelo &m) {
    ECFBMTC_modelo_ecf = m.codigo;
    ECFBMTC_num_col_ecf = m.colunas;
    BMTCLOCAL_flg_vers = m.mfd ? 1 : 0;
  }
  void protocolo_estendido() {
    ECFBMTCAUX_modo_protocolo = 1;
    imp.estendido = true;
  }

  unsigned char estado_doc() const { return BMTCLOCAL_d[2557]; }
  void estado_doc(unsigned char v) { BMTCLOCAL_d[2557] = v; }
  bool alterado() const { return (ECFIF_nvmem.flags & 1) != 0; }
  std::string campo(std::size_t offset) const {
    return reinterpret_cast<const char *>(BMTCLOCAL_d + offset);
  }
  int qtd_pagtos() const { return BMTCLOCAL_d[600]; }
  std::string pagto(int i) const {
    return std::string(reinterpret_cast<const char *>(BMTCLOCAL_d + 601 + 39 * i), 39);
  }
};

inline std::string zeros(std::size_t n) {
  return std::string(n, '0');
}
inline std::string brancos(std::size_t n) {
  return std::string(n, ' ');
}
inline std::string nul() {
  return std::string(1, '\0');
}

}  // namespace receipt_test
