// The driver library and the host kit together over a pseudo-terminal: a
// small responder thread plays the printer on the master side, the driver
// talks to the slave through termios.
#include "ecfbmtc.h"
#include "platform/platform.h"

#include "../hostkit/pty_pair.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Collects the driver's frames (02h, length low/high, then that many bytes)
// and answers each one with what the test's function returns.
class Responder {
 public:
  using Answer = std::function<Bytes(const Bytes &frame, int index)>;

  Responder(ecftest::PtyPair &pty, Answer answer)
      : pty_(pty), answer_(std::move(answer)), thread_([this] { run(); }) {}
  ~Responder() {
    stop_ = true;
    thread_.join();
  }
  Responder(const Responder &) = delete;
  Responder &operator=(const Responder &) = delete;

  std::vector<Bytes> frames() {
    const std::lock_guard trava(mutex_);
    return frames_;
  }

 private:
  void run() {
    Bytes pendente;
    while (!stop_) {
      pollfd p{pty_.master(), POLLIN, 0};
      if (poll(&p, 1, 10) <= 0) continue;
      unsigned char buf[512];
      const ssize_t n = ::read(pty_.master(), buf, sizeof buf);
      if (n <= 0) continue;
      pendente.insert(pendente.end(), buf, buf + n);
      while (!pendente.empty()) {
        if (pendente[0] != 0x02) {
          pendente.erase(pendente.begin());
          continue;
        }
        if (pendente.size() < 3) break;
        const std::size_t total = 3 + (pendente[1] | (pendente[2] << 8));
        if (pendente.size() < total) break;
        const Bytes frame(pendente.begin(), pendente.begin() + static_cast<std::ptrdiff_t>(total));
        pendente.erase(pendente.begin(), pendente.begin() + static_cast<std::ptrdiff_t>(total));
        int index = 0;
        {
          const std::lock_guard trava(mutex_);
          index = static_cast<int>(frames_.size());
          frames_.push_back(frame);
        }
        const Bytes resposta = answer_(frame, index);
        if (!resposta.empty()) pty_.write_all(resposta);
      }
    }
  }

  ecftest::PtyPair &pty_;
  Answer answer_;
  std::mutex mutex_;
  std::vector<Bytes> frames_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

const Bytes status_frame{0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00};

class HostKitDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    setenv("ECF_SERIAL_DEVICE", pty.slave_name().c_str(), 1);
    ECFIF_porta_serial = 1;
  }
  void TearDown() override {
    // Closes the port so the next test opens its own pseudo-terminal.
    ECFIF_fim_protocolo();
    unsetenv("ECF_SERIAL_DEVICE");
  }

  static Bytes answer_bytes() {
    return Bytes(ECFIF_buffer_protocolo, ECFIF_buffer_protocolo + ECFIF_tam_resposta_ecf);
  }

  ecftest::PtyPair pty;
};

TEST_F(HostKitDriverTest, StatusReadTravelsThroughTheSerialPort) {
  Responder printer(pty, [](const Bytes &frame, int) {
    return frame == status_frame ? Bytes{0x06, 0x00, 0x00} : Bytes{};
  });

  ASSERT_EQ(ECFBMTC_le_status(), 0);
  EXPECT_EQ(printer.frames(), std::vector<Bytes>{status_frame});
  EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
}

TEST_F(HostKitDriverTest, StatusBytesAndRefusalsReachTheCaller) {
  Responder printer(pty, [](const Bytes &, int index) {
    return index == 0 ? Bytes{0x06, 0x40, 0x00} : Bytes{0x06, 0x00, 0x01};
  });

  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x40, 0x00}));
  EXPECT_EQ(ECFBMTC_exec(19), 34);
  EXPECT_EQ(ECFBMTC_ultima_falha, 1);
  EXPECT_EQ(printer.frames(), (std::vector<Bytes>{status_frame, status_frame}));
}

TEST_F(HostKitDriverTest, VariableReadArrivesNormalised) {
  // Variable 23, the printer's clock: six BCD bytes, then ST1 and ST2.
  const Bytes pedido{0x02, 0x05, 0x00, 0x1B, 0x23, 0x17, 0x55, 0x00};
  Responder printer(pty, [&](const Bytes &frame, int) {
    return frame == pedido ? Bytes{0x06, 0x06, 0x12, 0x26, 0x08, 0x30, 0x15, 0x00, 0x00} : Bytes{};
  });

  ASSERT_EQ(ECFBMTC_le_parametro(23), 0);
  EXPECT_EQ(printer.frames(), std::vector<Bytes>{pedido});
  const Bytes esperado{0x06, 0x00, 0x00, 0x06, 0x12, 0x26, 0x08, 0x30, 0x15};
  EXPECT_EQ(answer_bytes(), esperado);
  ASSERT_EQ(ECFIF_tam_retorno, static_cast<int>(esperado.size()));
  EXPECT_EQ(Bytes(ECFIF_retornado, ECFIF_retornado + ECFIF_tam_retorno), esperado);
}

TEST_F(HostKitDriverTest, RefusedFrameIsSentAgainAfterStaleInputIsDropped) {
  Responder printer(pty, [](const Bytes &, int index) {
    // Noise before the refusal must not disturb the second attempt.
    return index == 0 ? Bytes{0x41, 0x15} : Bytes{0x06, 0x00, 0x00};
  });

  EXPECT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(printer.frames(), (std::vector<Bytes>{status_frame, status_frame}));
}

TEST_F(HostKitDriverTest, PortIsReopenedAfterTheProtocolEnds) {
  Responder printer(pty, [](const Bytes &, int) { return Bytes{0x06, 0x00, 0x00}; });

  ASSERT_EQ(ECFBMTC_exec(19), 0);
  ECFIF_fim_protocolo();
  ASSERT_EQ(ECFBMTC_exec(19), 0);
  EXPECT_EQ(printer.frames().size(), 2u);
}

}  // namespace
