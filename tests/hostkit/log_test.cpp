// The log library and the operator notices, read back from the log file.
#include "platform/log.h"
#include "platform/host_common.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char modelo[] = "/tmp/ecfhost_log_XXXXXX";
    ASSERT_NE(mkdtemp(modelo), nullptr);
    dir = modelo;
    arquivo = dir + "/ecf.log";
    setenv("ECF_LOG_FILE", arquivo.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("ECF_LOG_FILE");
    std::remove(arquivo.c_str());
    rmdir(dir.c_str());
  }

  std::vector<std::string> lines() const {
    std::ifstream in(arquivo);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
  }

  // The text of a line after its time stamp.
  static std::string text_of(const std::string &linha) {
    static const std::regex carimbo(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )");
    std::smatch m;
    EXPECT_TRUE(std::regex_search(linha, m, carimbo)) << linha;
    return m.empty() ? linha : m.suffix().str();
  }

  std::string dir;
  std::string arquivo;
};

// One time-stamped line a call; an overlong one is cut, not overrun.
TEST_F(LogTest, PrintWritesOneTimestampedLineEach) {
  const std::string longa(20000, 'x');
  ECFLOG_print("b%d", 19);
  ECFLOG_print("retardo(%ldms)...", 3000L);
  ECFLOG_print("%s()=%d.", "le_status", 0);
  ECFLOG_print("linha com fim\n");
  ECFLOG_print("%s", longa.c_str());
  ECFLOG_print("depois");
  const auto l = lines();
  ASSERT_EQ(l.size(), 6u);
  EXPECT_EQ(text_of(l[0]), "b19");
  EXPECT_EQ(text_of(l[1]), "retardo(3000ms)...");
  EXPECT_EQ(text_of(l[2]), "le_status()=0.");
  EXPECT_EQ(text_of(l[3]), "linha com fim");
  EXPECT_GE(text_of(l[4]).size(), 1000u);
  EXPECT_LT(text_of(l[4]).size(), longa.size());
  EXPECT_EQ(text_of(l[5]), "depois");
}

TEST_F(LogTest, DumpShowsLabelCountHexAndText) {
  const unsigned char curto[] = {0x11, 'A', 0x0A, 0xFF};
  ECFLOG_dump("b35", curto, 4);
  std::vector<unsigned char> longo(20);
  for (std::size_t i = 0; i < longo.size(); ++i) longo[i] = static_cast<unsigned char>('a' + i);
  ECFLOG_dump("timeout", longo.data(), static_cast<int>(longo.size()));
  ECFLOG_dump("vazio", nullptr, 5);
  ECFLOG_dump(nullptr, curto, -3);

  const auto l = lines();
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(text_of(l[0]).substr(0, 20), "b35[4]: 11 41 0A FF ");
  EXPECT_NE(text_of(l[0]).find("|.A..|"), std::string::npos);
  EXPECT_EQ(text_of(l[1]).substr(0, 16), "timeout[20]: 61 ");
  EXPECT_NE(text_of(l[1]).find("|abcdefghijklmnop|"), std::string::npos);
  EXPECT_EQ(text_of(l[2]).substr(0, 23), "  +0010: 71 72 73 74   ");
  EXPECT_NE(text_of(l[2]).find("|qrst|"), std::string::npos);
  EXPECT_EQ(text_of(l[3]), "vazio[0]:");
  EXPECT_EQ(text_of(l[4]), "(null)[0]:");
}

TEST_F(LogTest, NoticesGoToTheLogAndToStderr) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(ECFIF_avisa_txt_motivo(3, "Lendo status ECF"), 0);
  EXPECT_EQ(ECFIF_avisa_txt_motivo(0, nullptr), 0);
  EXPECT_EQ(ECFIF_avisa_txt_motivo(0, nullptr), 0);  // nothing shown: nothing to clear
  EXPECT_EQ(ECFIF_avisa_txt_motivo(2, nullptr), 0);
  EXPECT_EQ(ECFIF_avisa_txt_motivo(3, nullptr), 0);
  ECFIF_avisa_txt_motivo(0, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ECF: Lendo status ECF\nECF: Insira o documento\nECF: \n");
  const auto l = lines();
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(text_of(l[0]), "aviso(3): Lendo status ECF");
  EXPECT_EQ(text_of(l[1]), "aviso: (limpo)");
  EXPECT_EQ(text_of(l[2]), "aviso(2): Insira o documento");
  EXPECT_EQ(text_of(l[3]), "aviso(3): ");
  EXPECT_EQ(text_of(l[4]), "aviso: (limpo)");
}

}  // namespace
