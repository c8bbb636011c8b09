// The driver library and the host kit against the emulated printer over a
// pseudo-terminal: identification of several models, payment methods, tax
// rates, programming from the file and free text.
#include "ecfbmtc.h"
#include "platform/platform.h"

#include "../hostkit/pty_pair.h"
#include "core/printer.h"
#include "wire/device.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// The emulated printer (fiscal and serial sides) on the master side.
class EmulatedPrinter {
 public:
  EmulatedPrinter(ecftest::PtyPair &pty, int model)
      : pty_(pty),
        printer_(ecfsim::PrinterConfig{model, 0, {}, [this](std::string_view l) { add_paper(l); }}),
        device_([this](uint16_t command, std::string_view args) { return execute(command, args); }),
        thread_([this] { run(); }) {}
  ~EmulatedPrinter() {
    stop_ = true;
    thread_.join();
  }
  EmulatedPrinter(const EmulatedPrinter &) = delete;
  EmulatedPrinter &operator=(const EmulatedPrinter &) = delete;

  int count(int command) {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(std::count(commands_.begin(), commands_.end(), command));
  }
  std::vector<std::string> paper() {
    const std::lock_guard lock(mutex_);
    return paper_;
  }

 private:
  void add_paper(std::string_view l) {
    const std::lock_guard lock(mutex_);
    paper_.emplace_back(l);
  }
  ecfsim::Reply execute(uint16_t command, std::string_view args) {
    {
      const std::lock_guard lock(mutex_);
      commands_.push_back(command);
    }
    return printer_.execute(command, args);
  }
  static int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }

  void run() {
    while (!stop_) {
      pollfd p{pty_.master(), POLLIN, 0};
      if (::poll(&p, 1, 1) > 0) {
        unsigned char buf[512];
        const ssize_t n = ::read(pty_.master(), buf, sizeof buf);
        for (ssize_t i = 0; i < n; ++i) device_.from_host(buf[i], now_ms());
      }
      std::vector<unsigned char> out;
      for (int b; (b = device_.to_host(now_ms())) >= 0;)
        out.push_back(static_cast<unsigned char>(b));
      if (!out.empty()) pty_.write_all(out);
    }
  }

  ecftest::PtyPair &pty_;
  std::mutex mutex_;
  std::vector<int> commands_;
  std::vector<std::string> paper_;
  ecfsim::Printer printer_;
  ecfsim::Device device_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class ConfigEmulatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    setenv("ECF_SERIAL_DEVICE", pty.slave_name().c_str(), 1);
    ECFIF_porta_serial = 1;
    ECFIF_versao_firmware = 0;
    std::memset(ECFIF_cfg, 0, sizeof ECFIF_cfg);
    std::memset(BMTCLOCAL_d, 0, sizeof BMTCLOCAL_d);
    ECFBMTC_flags = 0;
  }
  void TearDown() override {
    ECFIF_fim_protocolo();
    unsetenv("ECF_SERIAL_DEVICE");
  }
  static std::string model_name() {
    return std::string(reinterpret_cast<const char *>(ECFIF_cfg + 74), 20);
  }

  ecftest::PtyPair pty;
};

struct Model {
  int code;
  bool mfd;
  int columns;
  const char *name;
};

class Identification : public ConfigEmulatorTest, public ::testing::WithParamInterface<Model> {};

TEST_P(Identification, ModelGenerationAndName) {
  const Model &m = GetParam();
  EmulatedPrinter printer(pty, m.code);
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  EXPECT_EQ(ECFBMTC_modelo_ecf, m.code);
  EXPECT_EQ(BMTCLOCAL_flg_vers & 1, m.mfd ? 1 : 0);
  EXPECT_EQ(ECFBMTC_num_col_ecf, m.columns);
  EXPECT_EQ(ECFIF_cfg[5], m.columns);
  std::string name = m.name;
  name.resize(20, ' ');
  EXPECT_EQ(model_name(), name);
  EXPECT_NE(ECFIF_cfg[2] | ECFIF_cfg[3], 0);
  EXPECT_EQ(printer.count(57), 0);  // the serial number told the older models apart
  ASSERT_EQ(ECFIF_le_fabricacao(), 0);
  EXPECT_EQ(ECFIF_tam_retorno, 18);
}

INSTANTIATE_TEST_SUITE_P(Models, Identification,
                         ::testing::Values(Model{12, true, 48, "MP-4000 TH FI"},
                                           Model{5, true, 48, "MP-2000 TH FI"},
                                           Model{7, true, 48, "MP-7000 TH FI"},
                                           Model{10, true, 48, "4610-KN4"},
                                           Model{14, true, 48, "MP-6100 TH FI"},
                                           Model{1, false, 48, "ECF-IF MP-20 FI II"},
                                           Model{3, false, 40, "ECF-IF MP-40 FI II"}),
                         [](const auto &info) { return "code" + std::to_string(info.param.code); });

class Tables : public ConfigEmulatorTest, public ::testing::WithParamInterface<int> {};

TEST_P(Tables, EveryPaymentMethodAndTaxRate) {
  const int code = GetParam();
  EmulatedPrinter printer(pty, code);
  ASSERT_EQ(ECFIF_le_configuracao(ECFIF_cfg), 0);
  const bool mfd = (BMTCLOCAL_flg_vers & 1) != 0;
  const int methods = mfd ? 20 : 50;
  for (int i = 0; i < methods; ++i) {
    char name[17];
    ASSERT_EQ(ECFIF_le_forma_de_pagamento(i, name), 0) << i;
    EXPECT_EQ(std::strlen(name), 16u);
  }
  char name[17];
  EXPECT_EQ(ECFIF_le_forma_de_pagamento(methods, name), 19);
  for (int i = 0; i < 22; ++i) {
    unsigned char entry[10];
    const int r = ECFIF_le_tributacao(i, entry);
    if (i >= 19 && !mfd) {
      EXPECT_EQ(r, 19) << i;
      continue;
    }
    ASSERT_EQ(r, 0) << i;
    EXPECT_EQ(entry[6], '.');
    EXPECT_TRUE(entry[0] == 0 || entry[0] == 20 || entry[0] == 99 || entry[0] >= 4) << i;
  }
  for (int i = 0; i < (mfd ? 30 : 52); ++i) {
    unsigned char record[18];
    ASSERT_EQ(ECFIF_le_cnf(i, record), 0) << i;
    EXPECT_EQ(record[0], 2);
  }
}

INSTANTIATE_TEST_SUITE_P(Generations, Tables, ::testing::Values(12, 1),
                         [](const auto &info) { return "code" + std::to_string(info.param); });

TEST_F(ConfigEmulatorTest, ProgramsMethodsFromTheFileOnce) {
  EmulatedPrinter printer(pty, 12);
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  const auto dir =
      std::filesystem::temp_directory_path() / ("ecf_cfg_int_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto file = dir / "BMTCFPAG.CFG";
  std::ofstream(file)
      << "# methods of this shop\n[FORMAS DE PAGAMENTO]\n01=Dinheiro\n02=Cartao Credito\n05=Pix\n";
  ASSERT_EQ(ECFBMTC_le_arquivo_CFG(file.c_str()), 0);
  std::vector<std::string> names;
  for (int i = 0; i < 20; ++i) {
    char name[17];
    ASSERT_EQ(ECFIF_le_forma_de_pagamento(i, name), 0);
    names.emplace_back(name);
  }
  for (const char *wanted : {"Dinheiro        ", "Cartao Credito  ", "Pix             "})
    EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
  const int programmed = printer.count(71);
  ASSERT_EQ(ECFBMTC_le_arquivo_CFG(file.c_str()), 0);
  EXPECT_EQ(printer.count(71), programmed);  // nothing sent twice
  std::filesystem::remove_all(dir);
}

TEST_F(ConfigEmulatorTest, ReportTextIsBufferedThenPrinted) {
  EmulatedPrinter printer(pty, 12);
  ASSERT_EQ(ECFIF_pega_configuracao(), 0);
  BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC] = 4;
  ASSERT_EQ(ECFIF_imprime_linha("Primeira linha do relatorio"), 0);
  ASSERT_EQ(ECFIF_imprime_linha("Segunda linha"), 0);
  EXPECT_EQ(printer.count(67) + printer.count(20), 0);  // still buffered
  ASSERT_EQ(ECFIF_espaceja(0), 0);
  EXPECT_EQ(printer.count(67), 1);  // no linked receipt open: the report takes it
  EXPECT_EQ(printer.count(20), 1);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], 4);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_BUFFER_LINHAS], 0);
  const auto paper = printer.paper();
  bool first = false, second = false;
  for (const auto &l : paper) {
    first = first || l.find("Primeira linha do relatorio") != std::string::npos;
    second = second || l.find("Segunda linha") != std::string::npos;
  }
  EXPECT_TRUE(first);
  EXPECT_TRUE(second);
}

}  // namespace

namespace {

bool paper_has(const std::vector<std::string> &paper, const std::string &text) {
  return std::any_of(paper.begin(), paper.end(),
                     [&](const std::string &l) { return l.find(text) != std::string::npos; });
}

// A host that opens a receipt (or, restarted mid-sale, sells an item) before
// reading the configuration: the driver reads it first, so nothing is lost.
TEST_F(ConfigEmulatorTest, FirstDocumentCommandsReadTheConfigurationFirst) {
  EmulatedPrinter printer(pty, 12);
  const auto forget_the_printer = [] {
    std::memset(ECFIF_cfg, 0, sizeof ECFIF_cfg);
    ECFBMTC_modelo_ecf = ECFBMTC_num_col_ecf = BMTCLOCAL_flg_vers = 0;
  };
  forget_the_printer();
  ECFIF_identifica_consumidor(1, "12345678909");
  ECFIF_identifica_consumidor(2, "Maria da Silva");
  ECFIF_identifica_consumidor(3, "Rua das Flores, 100");
  ASSERT_EQ(ECFIF_inicio_venda(), 0);
  EXPECT_EQ(ECFBMTC_num_col_ecf, 48);
  EXPECT_TRUE(paper_has(printer.paper(), "Maria da Silva"));
  EXPECT_TRUE(paper_has(printer.paper(), "Rua das Flores, 100"));

  forget_the_printer();
  EXPECT_EQ(ECFBMTC_registra_item("7891000100103", "Arroz", "01", "1000", "2190"), 0);
  EXPECT_TRUE(paper_has(printer.paper(), "Arroz"));
  EXPECT_EQ(ECFIF_canc_cupom(), 0);
}

}  // namespace
