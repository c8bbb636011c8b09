#include <gtest/gtest.h>

#include "wire_test_support.h"

namespace ecfsim::test {
namespace {
using Kind = CommandFault::Kind;

// Sends `count` status reads, one per ms, and gives each one's answer.
std::vector<std::string> exchange(Device &device, int count) {
  std::vector<std::string> answers;
  for (int i = 0; i < count; ++i) {
    send(device, kStatusRead, i);
    answers.push_back(take(device, i));
  }
  return answers;
}

// Refused frames are not executed; dropped answers are. Refused frames do
// not count as commands for drops.
TEST(WireFaults, RefusalsAndDropsFollowTheirCounts) {
  struct Case {
    const char *name;
    uint32_t refuse_every, drop_every, drop_next;
    std::vector<std::string> answers;
    size_t executed;
  };
  for (const Case &c : {
           Case{"refuse_every", 3, 0, 0, {kOk, kOk, kNak, kOk, kOk, kNak, kOk}, 5},
           Case{"drop_every", 0, 2, 0, {kOk, "", kOk, "", kOk}, 5},
           Case{"drop_next", 0, 0, 1, {"", kOk}, 2},
           Case{"refuse_and_drop", 2, 2, 0, {kOk, kNak, "", kNak}, 2},
       }) {
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().refuse_every = c.refuse_every;
    device.faults().drop_every = c.drop_every;
    device.faults().drop_next = c.drop_next;
    EXPECT_EQ(exchange(device, static_cast<int>(c.answers.size())), c.answers) << c.name;
    EXPECT_EQ(fake.calls.size(), c.executed) << c.name;
  }
}

TEST(WireFaults, LateAnswerAddsToTheDelay) {
  FakeHandler fake;
  WireConfig config;
  config.delay_ms = 10;
  Device device(fake.handler(), config);
  device.faults().late_ms = 2000;
  send(device, kStatusRead, 0);
  EXPECT_EQ(device.next_byte_ms(), 2010);
  EXPECT_EQ(take(device, 2009), "");
  EXPECT_EQ(take(device, 2010), kOk);
}

TEST(WireFaults, JunkBeforeTheAnswerIsNeverAnAckOrNakAndSparesRefusals) {
  FakeHandler fake;
  Device device(fake.handler());
  device.faults().junk = 12;
  send(device, kStatusRead, 0);
  const std::string answer = take(device, 0);
  ASSERT_EQ(answer.size(), 15u);
  EXPECT_EQ(answer.substr(12), kOk);
  EXPECT_EQ(answer.find_first_of(kOk.substr(0, 1) + kNak), 12u);
  send(device, bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x00, 0x00}), 1);
  EXPECT_EQ(take(device, 1), kNak);
}

// Commands 10, 20, 10 and 62/60, ten seconds apart. For each, when its
// answer was due after the request (-1: no answer); and how many ran.
TEST(WireCommandFaults, StrikeTheNamedCommandAndOccurrence) {
  struct Case {
    std::vector<CommandFault> faults;
    std::vector<int64_t> due;
    size_t executed;
  };
  constexpr uint16_t kSub60 = 62 * 256 + 60;
  for (const Case &c : std::vector<Case>{
           {{{Kind::Delay, 20, 0, 2500}}, {0, 2500, 0, 0}, 4},
           {{{Kind::Delay, 10, 2, 700}}, {0, 0, 700, 0}, 4},
           {{{Kind::Drop, 10, 0, 0}}, {-1, 0, -1, 0}, 4},
           {{{Kind::Drop, 10, 2, 0}}, {0, 0, -1, 0}, 4},
           {{{Kind::Drop, kSub60, 0, 0}}, {0, 0, 0, -1}, 4},
           {{{Kind::DieBefore, 20, 0, 15000}}, {0, -1, -1, 0}, 2},  // deaf until 25 s
           {{{Kind::DieAfter, 20, 1, 5000}}, {0, -1, 0, 0}, 4},
           {{{Kind::Drop, 10, 1, 0}, {Kind::Delay, 10, 0, 300}}, {-1, 0, 300, 0}, 4},
       }) {
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().commands = c.faults;
    std::vector<int64_t> due;
    for (uint16_t command : {10, 20, 10, int{kSub60}}) {
      const int64_t t = static_cast<int64_t>(due.size()) * 10000;
      send(device, build_frame(kStartBasic, command, ""), t);
      const int64_t next = device.next_byte_ms();
      due.push_back(next < 0 ? -1 : next - t);
      EXPECT_EQ(take(device, t + 9999), next < 0 ? "" : kOk);
    }
    EXPECT_EQ(due, c.due) << testing::PrintToString(c.faults);
    EXPECT_EQ(fake.calls.size(), c.executed) << testing::PrintToString(c.faults);
  }
}

// A printer that dies loses what it had yet to send, holds CTS low and
// comes back whole.
TEST(WireCommandFaults, DeadPrinterIsSilentUntilItComesBack) {
  FakeHandler fake;
  WireConfig config;
  config.baud = 1000;  // 10 ms a byte
  Device device(fake.handler(), config);
  device.faults().commands = {{Kind::DieAfter, 20, 0, 100}};
  send(device, build_frame(kStartBasic, 10, ""), 0);
  send(device, build_frame(kStartBasic, 20, ""), 1);
  EXPECT_EQ(take(device, 500), "");
  EXPECT_FALSE(device.cts(100));
  EXPECT_TRUE(device.cts(101));
  send(device, build_frame(kStartBasic, 10, ""), 101);
  EXPECT_EQ(take(device, 500), kOk);
}

// Noise, then a refused leftover answer, at the line's pace before any answer.
TEST(WireCommandFaults, StaleBytesAtConnect) {
  for (const auto &[protocol, on, burst] :
       {std::tuple{Protocol::Basic, true, bytes({0, 0xFF, 0x55, 6, 0, 1})},
        std::tuple{Protocol::Extended, true, bytes({0, 0xFF, 0x55, 6, 0, 1, 0, 0})},
        std::tuple{Protocol::Basic, false, std::string()}}) {
    WireConfig config;
    config.protocol = protocol;
    config.baud = 1000;
    FakeHandler fake;
    Device device(fake.handler(), config);
    device.faults().stale_at_connect = on;
    device.faults().stale_noise = 3;
    device.connect(0);
    send(device, kStatusRead, 1);
    EXPECT_EQ(take(device, std::max<int64_t>(static_cast<int64_t>(burst.size()) * 10, 10)), burst);
    EXPECT_EQ(take(device, 1000), kOk);
  }
}

}  // namespace
}  // namespace ecfsim::test
