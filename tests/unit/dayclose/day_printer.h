// The emulated printer behind the test line for the day tests: its clock
// follows the virtual clock from a chosen moment, a hook may answer a
// command in its place, and a working folder takes the driver's files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/printer.h"
#include "core/status_bits.h"
#include "ecfbmtc.h"
#include "platform/platform.h"
#include "platform/test_platform.h"
#include "wire/device.h"

namespace day_test {

// Civil seconds of a date and time, as the emulator's clock gives them.
inline std::int64_t momento(int ano, int mes, int dia, int h, int m, int s = 0) {
  ano -= mes <= 2;
  const std::int64_t era = ano / 400;
  const std::int64_t yoe = ano - era * 400;
  const std::int64_t doy = (153 * (mes + (mes > 2 ? -3 : 9)) + 2) / 5 + dia - 1;
  const std::int64_t dias = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
  return dias * 86400 + h * 3600 + m * 60 + s;
}

class Impressora : public ecftest::LinePeer {
 public:
  using Gancho = std::function<std::optional<ecfsim::Reply>(int comando, std::string_view args)>;

  explicit Impressora(int modelo, std::uint32_t ocupada_ms = 2000)
      : impressora(config(modelo, ocupada_ms)), dispositivo([this](uint16_t c, std::string_view a) {
          comandos.push_back(c);
          if (gancho)
            if (auto r = gancho(c, a)) return *r;
          return impressora.execute(c, a);
        }) {
    ecftest::set_peer(this);
  }
  ~Impressora() override { ecftest::set_peer(nullptr); }

  void from_driver(std::uint8_t b, std::int64_t agora) override { dispositivo.from_host(b, agora); }
  int to_driver(std::int64_t agora) override { return dispositivo.to_host(agora); }
  bool cts(std::int64_t agora) override { return dispositivo.cts(agora); }

  // The printer's clock reads this moment now and runs on from it.
  void relogio(std::int64_t civil) { origem_ = civil - ecftest::now_ms() / 1000; }

  int impresso(std::string_view texto) const {
    int n = 0;
    for (const auto &l : papel) n += l.find(texto) != std::string::npos;
    return n;
  }
  int vezes(int comando) const {
    int n = 0;
    for (int c : comandos) n += c == comando;
    return n;
  }
  // The next `n` frames of `comando` are refused for lack of paper.
  void recusa(int comando, int n = 1) {
    gancho = [this, comando, n](int c, std::string_view) mutable -> std::optional<ecfsim::Reply> {
      if (c != comando || n == 0) return std::nullopt;
      --n;
      ecfsim::Reply r;
      r.st1 = ecfsim::st1::kPaperEnd;
      r.st2 = ecfsim::st2::kNotExecuted;
      r.exec_status = ecfsim::exec::kOutOfPaper;
      return r;
    };
  }

  std::vector<std::string> papel;
  std::vector<int> comandos;
  Gancho gancho;
  ecfsim::Printer impressora;
  ecfsim::Device dispositivo;

 private:
  ecfsim::PrinterConfig config(int modelo, std::uint32_t ocupada_ms) {
    ecfsim::PrinterConfig c;
    c.model_code = modelo;
    c.reduction_busy_ms = ocupada_ms;
    c.clock = [this] { return origem_ + ecftest::now_ms() / 1000; };
    c.paper = [this](std::string_view l) { papel.emplace_back(l); };
    return c;
  }
  std::int64_t origem_ = momento(2026, 12, 4, 10, 0);
};

// A fresh driver in a folder of its own (the driver writes "BMTCOOIN.TXT"
// in the working directory).
class DiaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    anterior_ = std::filesystem::current_path();
    char modelo[] = "/tmp/ecfdia.XXXXXX";
    ASSERT_NE(::mkdtemp(modelo), nullptr);
    pasta_ = modelo;
    std::filesystem::current_path(pasta_);
    ecftest::reset();
    ECFLOG_modo = 3;
  }
  void TearDown() override {
    ecftest::set_peer(nullptr);
    ecftest::reset();
    std::filesystem::current_path(anterior_);
    std::filesystem::remove_all(pasta_);
  }
  // A whole sale of one item of 10.00.
  static void vende() {
    ASSERT_EQ(ECFIF_inicio_venda(), 0);
    ASSERT_EQ(ECFBMTC_registra_item("1", "Arroz", "01", "1000", "1000"), 0);
    ASSERT_EQ(ECFIF_imprime_total(nullptr), 0);
    ASSERT_EQ(ECFBMTC_pagamento(1, "1000", "", ""), 0);
    ASSERT_EQ(ECFIF_fim_venda(), 0);
  }

 private:
  std::filesystem::path anterior_, pasta_;
};

}  // namespace day_test
