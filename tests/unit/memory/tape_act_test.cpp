// The detail-tape download through stand-in programs, the program seam, and
// the act file against the emulator.
#include <sys/stat.h>

#include "core/files.h"
#include "memory/memory_fixture.h"

namespace ecftest {
namespace {

namespace arq = ecf::core::arquivos;

// A stand-in program: a shell script written into the working directory.
void script(const char *name, const std::string &body) {
  std::ofstream(name) << "#!/bin/sh\n" << body;
  chmod(name, 0755);
}

// Records its words one a line, then leaves `ret` as its result.
void download_program(const std::string &ret) {
  script("LinuxMFD", "printf '%s\\n' \"$@\" > download.args\necho data > \"$2\"\n" +
                         (ret == "none" ? std::string() : "printf '" + ret + "' > LinuxMFD.ret\n"));
}

void converter(const char *name, bool writes) {
  script(name, "printf '%s\\n' \"$@\" > convert.args\n" +
                   std::string(writes ? "echo tape > \"$1\"\n" : ""));
}

class TapeTest : public MemoryTest {};

TEST_F(TapeTest, DownloadRunsBothProgramsWithTheirWordsAndSigns) {
  emulator(12);
  download_program("0\n");
  converter("bemamfd2", true);
  ECFIF_porta_serial = 3;
  int zero = 5;
  EXPECT_EQ(ECFIF_mfd_em_arq_por_coo("final.txt", &zero, "000001000010"), 0);
  EXPECT_EQ(zero, 0);
  EXPECT_EQ(read_file("final.txt"), "tape\n");
  EXPECT_GE(port_calls().encerra, 1);
  // Variable 14 gives the file's number, variable 11 the last word.
  const std::string n = read_file("download.args");
  const std::string name = n.substr(n.find("MD000001."), 12);
  EXPECT_EQ(n, "/dev/ttyS2\n" + name + "\n2\n000001\n000010\n" +
                   n.substr(n.rfind('\n', n.size() - 2) + 1));
  EXPECT_EQ(read_file("convert.args"), "GER_LEIT.TXT\n" + name + n.substr(n.find("\n2\n")));
  EXPECT_FALSE(exists(name.c_str()));  // COO ranges delete the download

  // One day keeps the download, two days do not.
  EXPECT_EQ(ECFIF_mfd_em_arq_por_data("day.txt", nullptr, "020126020126"), 0);
  EXPECT_TRUE(exists(("MD020126." + name.substr(9)).c_str()));
  EXPECT_EQ(ECFIF_mfd_em_arq_por_data("days.txt", nullptr, "030126040126"), 0);
  EXPECT_FALSE(exists(("MD030126." + name.substr(9)).c_str()));
}

TEST_F(TapeTest, DownloadFailures) {
  struct Case {
    const char *ret;  // what LinuxMFD.ret holds, "none" for no file
    bool converter_writes;
    bool programs;
    int result;
  };
  for (const Case &c :
       {Case{"none", true, true, 82}, Case{"7\n", true, true, 83}, Case{"", true, true, 0},
        Case{"0", false, true, 81}, Case{"0", true, false, 81}}) {
    emulator(5);
    std::filesystem::remove("LinuxMFD");
    std::filesystem::remove("bemamfd");
    if (c.programs) {
      download_program(c.ret);
      converter("bemamfd", c.converter_writes);
    }
    write("LinuxMFD.ret", "0");        // a stale result must not count
    write("GER_LEIT.TXT", "stale\n");  // nor a stale export
    EXPECT_EQ(ECFIF_mfd_em_arq_por_coo("final.txt", nullptr, "000001000002"), c.result) << c.ret;
    EXPECT_EQ(exists("final.txt"), c.result == 0);
    std::filesystem::remove("final.txt");
  }
}

TEST_F(TapeTest, ModelsWithoutAConverterRunNothing) {
  emulator(3);
  download_program("0");
  EXPECT_EQ(ECFIF_mfd_em_arq_por_data("final.txt", nullptr, "010126020126"), 15);
  EXPECT_TRUE(transmitted().empty());
  EXPECT_EQ(port_calls().encerra, 0);
  EXPECT_FALSE(exists("download.args"));
}

class ActFileTest : public MemoryTest {
 protected:
  ECFIF_contexto_atocotepe ctx{};
  void SetUp() override {
    MemoryTest::SetUp();
    ASSERT_EQ(ECFIF_atocotepe_inicia(&ctx, 1), 0);
  }
  void TearDown() override {
    ECFIF_atocotepe_termina(&ctx);
    EXPECT_EQ(ctx.buffer, nullptr);
    MemoryTest::TearDown();
  }
};

TEST_F(ActFileTest, EachRecordHasItsLinesAndLengths) {
  ecfsim::make_daily_reductions(emulator(12).printer, 1);
  struct Case {
    const char *type;
    std::size_t lines, length;
  };
  for (const Case &c :
       {Case{"E06", 1, 76}, Case{"E07", 1, 62}, Case{"E08", 1, 78}, Case{"E10", 1, 84},
        Case{"E11", 1, 136}, Case{"E17", 30, 80}, Case{"E18", 20, 80}}) {
    ASSERT_EQ(ECFIF_atocotepe_gera(&ctx, c.type, "ato.txt", 0), 0) << c.type;
    std::istringstream in(read_file("ato.txt"));
    std::size_t n = 0;
    for (std::string l; std::getline(in, l); ++n) {
      EXPECT_EQ(l.size(), c.length) << c.type << ": " << l;
      EXPECT_EQ(l.substr(0, 3), c.type);
    }
    EXPECT_EQ(n, c.lines) << c.type;
  }
  // The reduction counter is 1: the next reduction is 2.
  EXPECT_EQ(read_file("ato.txt").substr(46, 6), "000002");
}

TEST_F(ActFileTest, IdentificationIsReadOnceAndFailuresGive15) {
  emulator(12);
  ASSERT_EQ(ECFIF_atocotepe_gera(&ctx, "E06", "ato.txt", 0), 0);
  const auto frames_once = frames().size();
  ASSERT_EQ(ECFIF_atocotepe_gera(&ctx, "E06", "ato.txt", 0), 0);
  EXPECT_EQ(frames().size(), frames_once);

  EXPECT_EQ(ECFIF_atocotepe_gera(&ctx, "E12", "ato.txt", 0), 15);
  EXPECT_FALSE(exists("ato.txt"));
  arq::falha_na_operacao(2);  // 1 removes the old file, 2 opens it
  EXPECT_EQ(ECFIF_atocotepe_gera(&ctx, "E07", "ato.txt", 0), 15);

  ECFIF_atocotepe_termina(&ctx);
  emulator(3);
  EXPECT_EQ(ECFIF_atocotepe_gera(&ctx, "E06", "ato.txt", 0), 15);
  EXPECT_EQ(ECFIF_atocotepe_gera(&ctx, "E17", "ato.txt", 0), 15);
}

}  // namespace
}  // namespace ecftest
