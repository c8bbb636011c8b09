// The serial port library against a pseudo-terminal: the test plays the
// printer on the master side.
#include "ecfhost.h"
#include "platform/platform.h"

#include "pty_pair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int porta = 1;

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    setenv("ECF_SERIAL_DEVICE", pty.slave_name().c_str(), 1);
  }
  void TearDown() override {
    nSERIALencerra(porta);
    unsetenv("ECF_SERIAL_DEVICE");
  }

  // The driver's own set-up sequence.
  void open_port(long speed = 115200) {
    ASSERT_EQ(nSERIALconf(porta, speed, 1, 0, 8, 0), 0);
    ASSERT_EQ(n_ativaSERIAL(porta), 0);
    ASSERT_EQ(nSERIALreset(porta), 0);
    ASSERT_EQ(nSERIALativaDTR(porta), 0);
    ASSERT_EQ(nSERIALmodoRTS(porta, 0), 0);
    ASSERT_EQ(nSERIALativaRTS(porta), 0);
    ASSERT_EQ(nSERIALiniciaTX(porta), 0);
    ASSERT_EQ(nSERIALiniciaRX(porta), 0);
  }

  void send(const std::vector<unsigned char> &bytes) {
    for (unsigned char b : bytes) ASSERT_EQ(nSERIALtransm(porta, b), 0);
    const auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (nSERIALstatusTX(porta) > 0 && std::chrono::steady_clock::now() < fim) SERIPC_escalador();
    ASSERT_EQ(nSERIALstatusTX(porta), 0);
  }

  // Collects n bytes the way the driver does: read, else yield.
  std::vector<unsigned char> receive(std::size_t n) {
    std::vector<unsigned char> out;
    const auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (out.size() < n && std::chrono::steady_clock::now() < fim) {
      const int v = nSERIALleRX(porta);
      if (v >= 0)
        out.push_back(static_cast<unsigned char>(v));
      else
        SERIPC_escalador();
    }
    return out;
  }

  ecftest::PtyPair pty;
};

TEST_F(SerialPortTest, StandardSpeedsAreSetAndOtherSettingsRejected) {
  struct Caso {
    long bps;
    speed_t code;
  };
  for (const Caso c : {Caso{1200, B1200}, Caso{9600, B9600}, Caso{19200, B19200},
                       Caso{38400, B38400}, Caso{57600, B57600}, Caso{115200, B115200}}) {
    SCOPED_TRACE(c.bps);
    open_port(c.bps);
    termios t{};
    ASSERT_EQ(tcgetattr(pty.slave(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), c.code);
    EXPECT_EQ(cfgetispeed(&t), c.code);
    nSERIALencerra(porta);
  }
  struct Ruim {
    long bps;
    int stop, paridade, bits;
  };
  for (const Ruim r :
       {Ruim{0, 1, 0, 8}, Ruim{-9600, 1, 0, 8}, Ruim{12345, 1, 0, 8}, Ruim{9601, 1, 0, 8},
        Ruim{9600, 3, 0, 8}, Ruim{9600, 1, 5, 8}, Ruim{9600, 1, 0, 9}, Ruim{9600, 1, 0, 4}}) {
    SCOPED_TRACE(r.bps);
    open_port();
    EXPECT_NE(nSERIALconf(porta, r.bps, r.stop, r.paridade, r.bits, 0), 0);
    // No silent fallback to other settings: the line stays shut.
    EXPECT_NE(n_ativaSERIAL(porta), 0);
    EXPECT_NE(nSERIALtransm(porta, 0x02), 0);
  }
  open_port();
}

TEST_F(SerialPortTest, LineIsRaw8N1WithoutFlowControlOrTranslation) {
  open_port();
  termios t{};
  ASSERT_EQ(tcgetattr(pty.slave(), &t), 0);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP | INPCK), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_cc[VMIN], 0);
  EXPECT_EQ(t.c_cc[VTIME], 0);
  // A pseudo-terminal counts as clear to send, without line errors.
  EXPECT_NE(nSERIAL_CTSativo(porta), 0);
  EXPECT_EQ(nSERIALerro(porta, 1), 0);
  EXPECT_EQ(nSERIALerro(porta, 0), 0);
}

TEST_F(SerialPortTest, EveryByteValueTravelsBothWaysUnchanged) {
  open_port();
  std::vector<unsigned char> todos(256);
  std::iota(todos.begin(), todos.end(), 0);
  send(todos);
  EXPECT_EQ(pty.read_n(todos.size()), todos);

  ASSERT_TRUE(pty.write_all(todos));
  EXPECT_EQ(receive(todos.size()), todos);
  EXPECT_EQ(nSERIALleRX(porta), -1);
}

TEST_F(SerialPortTest, StartingReceptionDiscardsWaitingInput) {
  open_port();
  ASSERT_TRUE(pty.write_all({0x06, 0x00, 0x00}));
  ASSERT_TRUE(pty.slave_has_input());
  EXPECT_EQ(nSERIALleRX(porta), 0x06);  // part of it already in the kit's buffer
  EXPECT_EQ(nSERIALiniciaRX(porta), 0);
  EXPECT_EQ(nSERIALleRX(porta), -1);

  ASSERT_TRUE(pty.write_all({0x15}));
  EXPECT_EQ(receive(1), std::vector<unsigned char>{0x15});
}

TEST_F(SerialPortTest, ClosedPortFailsCleanlyAndOpensAgain) {
  open_port();
  ASSERT_EQ(nSERIALencerra(porta), 0);
  EXPECT_EQ(nSERIALleRX(porta), -1);
  const int r = nSERIALtransm(porta, 0x02);
  EXPECT_NE(r, 0);
  EXPECT_NE(r, 1);
  EXPECT_EQ(nSERIALstatusTX(porta), 0);
  EXPECT_NE(nSERIAL_CTSativo(porta), 0);  // so the driver's next send fails at once
  SERIPC_escalador();
  ECFCOMUM_escalador();

  open_port();
  send({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00});
  EXPECT_EQ(pty.read_n(7), (std::vector<unsigned char>{0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00}));
}

TEST_F(SerialPortTest, BadPortNumbersAreFaultsNotCrashes) {
  char modelo[] = "/tmp/ecfhost_serial_log_XXXXXX";
  const int log_fd = mkstemp(modelo);
  ASSERT_GE(log_fd, 0);
  setenv("ECF_LOG_FILE", modelo, 1);
  for (int p : {0, -1, 65, 100000}) {
    SCOPED_TRACE(p);
    EXPECT_NE(nSERIALconf(p, 9600, 1, 0, 8, 0), 0);
    EXPECT_NE(n_ativaSERIAL(p), 0);
    // A technician sees why the port did not open.
    const std::string linha = "serial: porta " + std::to_string(p) + " fora da tabela (1 a 64)\n";
    std::string log(4096, '\0');
    log.resize(
        static_cast<std::size_t>(std::max<ssize_t>(0, pread(log_fd, log.data(), log.size(), 0))));
    EXPECT_NE(log.find(linha), std::string::npos) << log;
    EXPECT_NE(nSERIALtransm(p, 1), 0);
    EXPECT_EQ(nSERIALleRX(p), -1);
    EXPECT_EQ(nSERIALstatusTX(p), 0);
    EXPECT_EQ(nSERIALerro(p, 1), 0);
    EXPECT_NE(nSERIALencerra(p), 0);
  }
  unsetenv("ECF_LOG_FILE");
  close(log_fd);
  std::remove(modelo);
}

TEST_F(SerialPortTest, StalledLineSaysNotNowInsteadOfGrowing) {
  open_port();
  // Nobody reads the master: the kernel queue and then the kit's buffer fill.
  long aceitos = 0;
  int r = 0;
  for (long i = 0; i < (1L << 22); ++i) {
    r = nSERIALtransm(porta, static_cast<int>(i & 0xFF));
    if (r != 0) break;
    ++aceitos;
  }
  ASSERT_EQ(r, 1);
  EXPECT_GT(nSERIALstatusTX(porta), 0);

  // Once the printer reads, everything accepted arrives in order.
  std::vector<unsigned char> chegou;
  const auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (static_cast<long>(chegou.size()) < aceitos && std::chrono::steady_clock::now() < fim) {
    const auto parte = pty.read_n(4096, std::chrono::milliseconds(50));
    chegou.insert(chegou.end(), parte.begin(), parte.end());
    nSERIALstatusTX(porta);
  }
  ASSERT_EQ(static_cast<long>(chegou.size()), aceitos);
  for (std::size_t i = 0; i < chegou.size(); ++i)
    ASSERT_EQ(chegou[i], static_cast<unsigned char>(i & 0xFF)) << i;
  EXPECT_EQ(nSERIALstatusTX(porta), 0);
  EXPECT_EQ(nSERIALtransm(porta, 0x55), 0);
}

// After an interrupt the frame on its way is finished and its answer read;
// the next frame is refused at once, until the port is closed.
TEST_F(SerialPortTest, InterruptRefusesOnlyTheNextFrame) {
  open_port();
  ASSERT_EQ(nSERIALtransm(porta, 0x02), 0);
  nSERIALinterrompe();
  send({0x04, 0x00});  // the rest of the frame already begun
  EXPECT_EQ(pty.read_n(3), (std::vector<unsigned char>{0x02, 0x04, 0x00}));
  ASSERT_TRUE(pty.write_all({0x06, 0x00}));
  EXPECT_EQ(receive(2), (std::vector<unsigned char>{0x06, 0x00}));

  EXPECT_NE(nSERIAL_CTSativo(porta), 0);  // no wait for the printer's hold
  const int r = nSERIALtransm(porta, 0x02);
  EXPECT_NE(r, 0);
  EXPECT_NE(r, 1);
  EXPECT_EQ(nSERIALmotivo_falha(), pty.slave_name() + ": interrupted");
  EXPECT_EQ(nSERIALstatusTX(porta), 0);  // nothing was taken

  ASSERT_EQ(nSERIALencerra(porta), 0);
  open_port();
  send({0x02});
  EXPECT_EQ(pty.read_n(1), std::vector<unsigned char>{0x02});
}

TEST_F(SerialPortTest, HungUpLineReadsNothingAndYieldsStillReturn) {
  open_port();
  pty.close_master();
  EXPECT_EQ(nSERIALleRX(porta), -1);
  for (int i = 0; i < 3; ++i) {
    SERIPC_escalador();
    ECFCOMUM_escalador();
  }
  EXPECT_EQ(nSERIALerro(porta, 1), 0);
  EXPECT_EQ(nSERIALencerra(porta), 0);
}

}  // namespace
