// One host per port: the lock file, TIOCEXCL and the reason a host can show.
#include "ecfhost.h"
#include "platform/platform.h"

#include "pty_pair.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;

class PortLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    char modelo[] = "/tmp/ecfhost_lock_XXXXXX";
    ASSERT_NE(mkdtemp(modelo), nullptr);
    dir = modelo;
    std::string nome = fs::canonical(pty.slave_name()).string().substr(5);  // "pts/N"
    std::replace(nome.begin(), nome.end(), '/', '_');
    lock = dir + "/LCK.." + nome;
    setenv("ECF_LOCK_DIR", dir.c_str(), 1);
    setenv("ECF_LOG_FILE", (dir + "/log").c_str(), 1);
    setenv("ECF_SERIAL_DEVICE", pty.slave_name().c_str(), 1);
  }
  void TearDown() override {
    for (int p : {1, 2}) nSERIALencerra(p);
    for (const char *v : {"ECF_LOCK_DIR", "ECF_LOG_FILE", "ECF_SERIAL_DEVICE"}) unsetenv(v);
    fs::remove_all(dir);
  }
  static std::string read(const std::string &path) {
    std::string s;
    std::getline(std::ifstream(path), s, '\0');
    return s;
  }
  int exclusive() {
    int on = -1;
    return ioctl(pty.slave(), TIOCGEXCL, &on) == 0 ? on : -1;
  }

  ecftest::PtyPair pty;
  std::string dir, lock;
};

// A child process that ends through exit(), after opening the port or not.
int child_exits(bool opens) {
  if (fork() == 0) std::exit(opens && n_ativaSERIAL(1) != 0 ? 1 : 0);
  int status = -1;
  wait(&status);
  return status;
}

TEST_F(PortLockTest, SecondHostIsRefusedWithThePidUntilTheFirstCloses) {
  ASSERT_EQ(n_ativaSERIAL(1), 0);
  EXPECT_STREQ(nSERIALmotivo_falha(), "");
  char pid[16];
  std::snprintf(pid, sizeof pid, "%10d\n", static_cast<int>(getpid()));
  EXPECT_EQ(read(lock), pid);
  EXPECT_EQ(exclusive(), 1);
  EXPECT_NE(n_ativaSERIAL(2), 0);
  const std::string pid_n = "PID " + std::to_string(getpid());
  EXPECT_EQ(nSERIALmotivo_falha(), pty.slave_name() + ": port in use by " + pid_n);
  EXPECT_NE(read(dir + "/log").find("porta em uso pelo " + pid_n), std::string::npos);
  // A forked child's exit leaves the parent's hold alone.
  EXPECT_EQ(child_exits(false), 0);
  EXPECT_EQ(read(lock), pid);
  EXPECT_EQ(exclusive(), 1);
  ASSERT_EQ(nSERIALencerra(1), 0);
  EXPECT_FALSE(fs::exists(lock));
  EXPECT_EQ(exclusive(), 0);
  // A process that exits with the port open lets it go.
  EXPECT_EQ(child_exits(true), 0);
  EXPECT_FALSE(fs::exists(lock));
  EXPECT_EQ(n_ativaSERIAL(2), 0);
}

TEST_F(PortLockTest, LiveOwnerKeepsTheLockAndADeadOnesLockIsTakenOver) {
  std::ofstream(lock) << "         1\n";  // init never dies
  EXPECT_NE(n_ativaSERIAL(1), 0);
  EXPECT_NE(std::string(nSERIALmotivo_falha()).find("PID 1"), std::string::npos);
  for (const char *abandonada : {"2147483646\n", "lixo", ""}) {
    std::ofstream(lock) << abandonada;
    ASSERT_EQ(n_ativaSERIAL(1), 0) << abandonada;
    EXPECT_EQ(std::stol(read(lock)), getpid());
    nSERIALencerra(1);
  }
  // Without a usable lock folder the port still opens, exclusively.
  setenv("ECF_LOCK_DIR", "/nonexistent/lock", 1);
  ASSERT_EQ(n_ativaSERIAL(1), 0);
  EXPECT_EQ(exclusive(), 1);
  EXPECT_NE(read(dir + "/log").find("pasta de travas /nonexistent/lock"), std::string::npos);
}

TEST_F(PortLockTest, WhatIsNoTerminalIsRefusedAtOnceAndLeftAlone) {
  const std::string arquivo = dir + "/arquivo";
  std::ofstream(arquivo) << "dados";
  using Caso = std::pair<std::string, std::string>;  // device, reason
  for (const auto &[path, reason] :
       {Caso{dir, "Is a directory"}, Caso{"/dev/null", "not a terminal"},
        Caso{arquivo, "not a terminal"}, Caso{dir + "/nada", "No such file or directory"}}) {
    setenv("ECF_SERIAL_DEVICE", path.c_str(), 1);
    EXPECT_NE(n_ativaSERIAL(1), 0) << path;
    EXPECT_EQ(nSERIALmotivo_falha(), path + ": " + reason);
  }
  EXPECT_EQ(read(arquivo), "dados");
  EXPECT_FALSE(fs::exists(dir + "/nada"));
}

}  // namespace
