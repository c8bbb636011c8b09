// The host common library's settings, the clock and the allocation library.
#include "platform/alloc.h"
#include "platform/clock.h"
#include "platform/host_common.h"
#include "platform/log.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

int bcd(unsigned char b) {
  EXPECT_LE(b >> 4, 9);
  EXPECT_LE(b & 0x0F, 9);
  return (b >> 4) * 10 + (b & 0x0F);
}

TEST(Clock, ReadsLocalTimeAsBcd) {
  unsigned char m[6] = {};
  // A second boundary may pass between the two readings: retry once.
  for (int tentativa = 0; tentativa < 2; ++tentativa) {
    // The kit reads the fine clock; time() may lag it by a tick at a second's turn.
    const auto agora = [] {
      timespec ts{};
      clock_gettime(CLOCK_REALTIME, &ts);
      return ts.tv_sec;
    };
    const time_t t = agora();
    ASSERT_EQ(BIOSRTC_le(m), 0);
    if (agora() != t) continue;
    tm local{};
    localtime_r(&t, &local);
    EXPECT_EQ(bcd(m[0]), local.tm_mday);
    EXPECT_EQ(bcd(m[1]), local.tm_mon + 1);
    EXPECT_EQ(bcd(m[2]), local.tm_year % 100);
    EXPECT_EQ(bcd(m[3]), local.tm_hour);
    EXPECT_EQ(bcd(m[4]), local.tm_min);
    EXPECT_EQ(bcd(m[5]), local.tm_sec);
    break;
  }
  EXPECT_NE(BIOSRTC_le(nullptr), 0);
  BIOSRTC_ftime(nullptr);
  EXPECT_GE(BIOSRTC_tempo_sistema(nullptr), static_cast<long>(time(nullptr)) - 1);
}

TEST(Clock, MomentsDifferByTheRightNumberOfSeconds) {
  struct Caso {
    unsigned char a[6];
    unsigned char b[6];
    long segundos;
  };
  const Caso casos[] = {
      {{0x31, 0x12, 0x25, 0x23, 0x59, 0x59}, {0x01, 0x01, 0x26, 0x00, 0x00, 0x00}, 1},
      {{0x28, 0x02, 0x24, 0x12, 0x00, 0x00}, {0x01, 0x03, 0x24, 0x12, 0x00, 0x00}, 2 * 86400},
      {{0x28, 0x02, 0x25, 0x12, 0x00, 0x00}, {0x01, 0x03, 0x25, 0x12, 0x00, 0x00}, 86400},
      {{0x01, 0x01, 0x00, 0x00, 0x00, 0x00}, {0x01, 0x01, 0x01, 0x00, 0x00, 0x00}, 366L * 86400},
      {{0x06, 0x12, 0x26, 0x08, 0x30, 0x00},
       {0x06, 0x12, 0x26, 0x10, 0x45, 0x30},
       2 * 3600 + 15 * 60 + 30},
  };
  for (const Caso &c : casos)
    EXPECT_EQ(BIOSRTC_calc_momento(c.b) - BIOSRTC_calc_momento(c.a), c.segundos);

  // A garbled record still gives a number, not a crash.
  const unsigned char lixo[6] = {0xFF, 0x00, 0xAB, 0x99, 0xFF, 0xFF};
  const long v = BIOSRTC_calc_momento(lixo);
  EXPECT_GE(v, 0);

  unsigned char agora[6] = {};
  ASSERT_EQ(BIOSRTC_le(agora), 0);
  EXPECT_GT(BIOSRTC_calc_momento(agora), BIOSRTC_calc_momento(casos[0].a));
}

TEST(Allocation, ZeroFilledBlocksAndNulledPointers) {
  for (unsigned tamanho : {0u, 1u, 50u, 1925u, 100000u}) {
    SCOPED_TRACE(tamanho);
    unsigned char *p = nullptr;
    ASSERT_NE(KALLOC_alocou(&p, tamanho), 0);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(std::all_of(p, p + tamanho, [](unsigned char b) { return b == 0; }));
    std::fill(p, p + tamanho, 0xEE);
    EXPECT_EQ(KALLOC_libera(&p), 0);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(KALLOC_libera(&p), 0);  // releasing twice is harmless
  }
  EXPECT_EQ(KALLOC_alocou(nullptr, 10), 0);
  EXPECT_NE(KALLOC_libera(nullptr), 0);
}

// The initial settings are read from the environment when the library loads,
// so they are checked in a fresh copy of this program.
constexpr const char *child_marker = "ECF_TEST_EXPECT_SETTINGS";

TEST(EnvironmentSettings, ChildSeesTheSettingsItWasStartedWith) {
  const char *esperado = std::getenv(child_marker);
  if (esperado == nullptr)
    GTEST_SKIP() << "runs only inside EnvironmentSettings.ReadWhenTheLibraryLoads";
  int modo = -1, porta = -1, veloc = -1;
  ASSERT_EQ(std::sscanf(esperado, "%d %d %d", &modo, &porta, &veloc), 3);
  EXPECT_EQ(ECFLOG_modo, modo);
  EXPECT_EQ(ECFIF_porta_serial, porta);
  EXPECT_EQ(ECFIF_veloc_serial, veloc);
}

constexpr int not_started = 127;

int run_child(const char *modo, const char *porta, const char *veloc, const char *esperado) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("ECF_LOG_MODE", modo, 1);
    setenv("ECF_SERIAL_PORT", porta, 1);
    setenv("ECF_SERIAL_SPEED", veloc, 1);
    setenv(child_marker, esperado, 1);
    // argv[0] rather than /proc/self/exe, which names the emulator when
    // the tests run under one.
    const char *args[] = {program_invocation_name,
                          "--gtest_filter=EnvironmentSettings.ChildSeesTheSettingsItWasStartedWith",
                          nullptr};
    execv(args[0], const_cast<char *const *>(args));
    _exit(not_started);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(EnvironmentSettings, ReadWhenTheLibraryLoads) {
  if (run_child("0", "1", "115200", "0 1 115200") == not_started)
    GTEST_SKIP() << "this program cannot start a fresh copy of itself here";
  EXPECT_EQ(run_child("3", "2", "9600", "3 2 9600"), 0);
  EXPECT_EQ(run_child("0x13", "4", "115200", "19 4 115200"), 0);
  // Unreadable values leave the defaults.
  EXPECT_EQ(run_child("tudo", "0", "rapido", "0 1 115200"), 0);
}

}  // namespace
