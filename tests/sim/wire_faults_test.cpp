#include <gtest/gtest.h>

#include "wire_test_support.h"

namespace ecfsim {
namespace {

using test::bytes;
using test::FakeHandler;
using test::send;
using test::take;

const std::string kOk = bytes({6, 0, 0});
const std::string kNak = bytes({0x15});

// Sends `count` status reads, one per ms, and gives each one's answer.
std::vector<std::string> exchange(Device &device, int count) {
  std::vector<std::string> answers;
  for (int i = 0; i < count; ++i) {
    send(device, test::kStatusRead, i);
    answers.push_back(take(device, i));
  }
  return answers;
}

// Refused frames are not executed; dropped answers are. Refused frames do
// not count as commands for drops.
TEST(WireFaults, RefusalsAndDropsFollowTheirCounts) {
  struct Case {
    const char *name;
    uint32_t refuse_every, refuse_next, drop_every, drop_next;
    std::vector<std::string> answers;
    size_t executed;
  };
  for (const Case &c : {
           Case{"refuse_every", 3, 0, 0, 0, {kOk, kOk, kNak, kOk, kOk, kNak, kOk}, 5},
           Case{"refuse_next", 0, 2, 0, 0, {kNak, kNak, kOk, kOk}, 2},
           Case{"drop_every", 0, 0, 2, 0, {kOk, "", kOk, "", kOk}, 5},
           Case{"drop_next", 0, 0, 0, 1, {"", kOk}, 2},
           Case{"refuse_and_drop", 2, 0, 2, 0, {kOk, kNak, "", kNak}, 2},
       }) {
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().refuse_every = c.refuse_every;
    device.faults().refuse_next = c.refuse_next;
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
  send(device, test::kStatusRead, 0);
  EXPECT_EQ(device.next_byte_ms(), 2010);
  EXPECT_EQ(take(device, 2009), "");
  EXPECT_EQ(take(device, 2010), kOk);
}

TEST(WireFaults, JunkBeforeTheAnswerIsNeverAnAckOrNakAndSparesRefusals) {
  FakeHandler fake;
  Device device(fake.handler());
  device.faults().junk = 12;
  send(device, test::kStatusRead, 0);
  const std::string answer = take(device, 0);
  ASSERT_EQ(answer.size(), 15u);
  EXPECT_EQ(answer.substr(12), kOk);
  EXPECT_EQ(answer.find_first_of(kOk.substr(0, 1) + kNak), 12u);
  send(device, bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x00, 0x00}), 1);
  EXPECT_EQ(take(device, 1), kNak);
}

TEST(WireFaults, CtsHeldLow) {
  FakeHandler fake;
  Device device(fake.handler());
  EXPECT_TRUE(device.cts(0));
  device.faults().cts_low = true;
  EXPECT_FALSE(device.cts(0));
  EXPECT_FALSE(device.cts(1'000'000));
  device.faults().cts_low = false;
  EXPECT_TRUE(device.cts(1'000'000));
}

TEST(WireFaults, LineErrorsAreReadAndCleared) {
  FakeHandler fake;
  Device device(fake.handler());
  EXPECT_EQ(device.line_errors(), 0);
  for (int bits : {1, 2, 4, 5}) {
    device.faults().line_errors = bits;
    EXPECT_EQ(device.line_errors(), bits);
    EXPECT_EQ(device.line_errors(), 0);
  }
  device.faults().line_errors = 0xFF;  // only the three line bits exist
  EXPECT_EQ(device.line_errors(), 7);
}

}  // namespace
}  // namespace ecfsim
