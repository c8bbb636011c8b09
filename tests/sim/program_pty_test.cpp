#include <gtest/gtest.h>

#include "wire/frame.h"
#include "wire_test_support.h"

#ifdef ECFSIM_PROGRAM

#include <sys/stat.h>

#include "program_support.h"

namespace ecfsim {
namespace {

using test::bytes;
using test::EcfsimProcess;
using test::TempDir;

const std::string kBrokenChecksum = bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x01});

class ProgramTest : public testing::Test {
 protected:
  void start(std::vector<std::string> args = {}) {
    args.insert(args.end(), {"--paper", dir.file("paper.txt")});
    ASSERT_TRUE(sim.start(args));
    ASSERT_TRUE(sim.open_terminal()) << sim.path();
  }

  TempDir dir;
  EcfsimProcess sim;
};

// One run: status read, a broken checksum, the other protocol, reopening.
TEST_F(ProgramTest, AnswersOnTheTerminalAcrossReopens) {
  start({"--protocol", "basic"});
  const std::string answer = sim.exchange(test::kStatusRead, 3);
  ASSERT_EQ(answer.size(), 3u);
  EXPECT_EQ(answer[0], 0x06);
  EXPECT_EQ(answer[2] & 0x01, 0) << "status read refused";

  EXPECT_EQ(sim.exchange(kBrokenChecksum, 1), bytes({0x15}));
  EXPECT_TRUE(sim.silent_for(50));  // nothing more after the refusal
  // Each request is answered in its own protocol.
  const std::string extended = sim.exchange(build_frame(kStartExtended, 19, ""), 5);
  ASSERT_EQ(extended.size(), 5u);
  EXPECT_EQ(extended[0], 0x06);
  EXPECT_TRUE(sim.silent_for(50));
  for (int i = 0; i < 3; ++i) {
    sim.close_terminal();
    ASSERT_TRUE(sim.open_terminal());
    EXPECT_EQ(sim.exchange(test::kStatusRead, 3).size(), 3u) << "after reopen " << i;
  }
  EXPECT_EQ(sim.stop(SIGINT), 0);
}

TEST_F(ProgramTest, LinkPointsToTheTerminalAndGoesAway) {
  const std::string link = dir.file("ecf");
  // A link left by a killed run is replaced.
  ASSERT_EQ(::symlink("/nonexistent", link.c_str()), 0);
  start({"--link", link});
  EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.path());
  EXPECT_EQ(sim.stop(), 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(ProgramTest, FaultOptionsReachTheLine) {
  start({"--fault", "refuse-every=2", "--fault=junk=2"});
  EXPECT_EQ(sim.exchange(test::kStatusRead, 5).substr(2, 1), bytes({0x06}));
  EXPECT_EQ(sim.exchange(test::kStatusRead, 1), bytes({0x15}));
  EXPECT_EQ(sim.stop(), 0);
}

TEST_F(ProgramTest, PacedAtTheGivenSpeed) {
  // 300 bits/s: 33 ms a byte; the answer is not all there at once.
  start({"--baud", "300"});
  const auto t0 = test::Clock::now();
  EXPECT_EQ(sim.exchange(test::kStatusRead, 3).size(), 3u);
  EXPECT_GE(test::Clock::now() - t0, std::chrono::milliseconds(99));
  EXPECT_EQ(sim.stop(), 0);
}

struct CommandLineCase {
  const char *name;
  std::vector<std::string> args;
  int status;
};

class ProgramCommandLine : public testing::TestWithParam<CommandLineCase> {};

TEST_P(ProgramCommandLine, ExitStatus) {
  std::string output;
  EXPECT_EQ(test::run_to_end(GetParam().args, output), GetParam().status) << output;
}

INSTANTIATE_TEST_SUITE_P(
    Program, ProgramCommandLine,
    testing::Values(CommandLineCase{"unknown_option", {"--colour"}, 1},
                    CommandLineCase{"missing_value", {"--baud"}, 1},
                    CommandLineCase{"bad_number", {"--baud", "96O0"}, 1},
                    CommandLineCase{"negative", {"--delay", "-5"}, 1},
                    CommandLineCase{"bad_protocol", {"--protocol", "fast"}, 1},
                    CommandLineCase{"bad_model", {"--model", "MP-9999"}, 1},
                    CommandLineCase{"bad_fault", {"--fault", "refuse-every"}, 1},
                    CommandLineCase{"unknown_fault", {"--fault", "gremlins"}, 1},
                    CommandLineCase{"not_a_state", {"--state", "/proc/self/status"}, 2},
                    CommandLineCase{"paper_unwritable", {"--paper", "/nonexistent/dir/paper"}, 2}),
    [](const testing::TestParamInfo<CommandLineCase> &info) {
      return std::string(info.param.name);
    });

TEST(ProgramHelp, ExitsCleanlyDocumentingEveryOption) {
  std::string output;
  ASSERT_EQ(test::run_to_end({"--help"}, output), 0);
  for (const char *option : {"--model", "--protocol", "--link", "--baud", "--delay", "--state",
                             "--paper", "--fault", "--reduction-busy", "--help", "refuse-every=N",
                             "drop-every=N", "late=MS", "junk=N", "paper-out", "memory-full"})
    EXPECT_NE(output.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace ecfsim

#else

TEST(ProgramTest, NeedsTheProgram) {
  GTEST_SKIP() << "ecfsim is not built (no fiscal side yet)";
}

#endif
