#include <gtest/gtest.h>

#include "wire_test_support.h"

namespace ecfsim::test {
namespace {

TEST(WirePacing, BytesArriveAtTheLineSpeed) {
  struct PaceCase {
    uint32_t baud;
    uint32_t delay_ms;
    size_t answer_bytes;
    // Times (ms after the frame) at which the first and the last byte are due.
    int64_t first_due;
    int64_t last_due;
  };
  for (const PaceCase &c : {
           PaceCase{0, 0, 103, 0, 0},          // no baud nor delay: at once
           PaceCase{9600, 0, 3, 2, 4},         // 1.04 ms a byte, rounded up
           PaceCase{9600, 0, 96, 2, 100},      // 96 bytes: exactly 100 ms
           PaceCase{115200, 0, 1158, 1, 101},  // 1158 bytes: 100.52 ms
           PaceCase{1200, 25, 3, 25 + 9, 25 + 25},
           PaceCase{10, 0, 3, 1000, 3000},
       }) {
    SCOPED_TRACE(testing::Message() << c.baud << " bps, " << c.answer_bytes << " bytes");
    FakeHandler fake;
    fake.reply.data = std::string(c.answer_bytes - 3, 'd');
    WireConfig config;
    config.baud = c.baud;
    config.delay_ms = c.delay_ms;
    Device device(fake.handler(), config);
    const int64_t t0 = 1000;
    send(device, kStatusRead, t0);

    EXPECT_EQ(device.next_byte_ms(), t0 + c.first_due);
    EXPECT_EQ(device.to_host(t0 + c.first_due - 1), -1);
    EXPECT_EQ(device.to_host(t0 + c.first_due), 0x06);
    // Nothing is early: one ms before the last byte is due, it is still missing.
    size_t got = 1 + take(device, t0 + c.last_due - 1).size();
    EXPECT_LT(got, c.answer_bytes);
    got += take(device, t0 + c.last_due).size();
    EXPECT_EQ(got, c.answer_bytes);
    EXPECT_EQ(device.next_byte_ms(), -1);
  }
}

TEST(WirePacing, SecondAnswerWaitsForTheFirst) {
  FakeHandler fake;
  WireConfig config;
  config.baud = 1000;  // 10 ms a byte
  Device device(fake.handler(), config);
  send(device, kStatusRead, 0);
  send(device, kStatusRead, 5);
  // First answer: 10, 20, 30; second follows on the line: 40, 50, 60.
  EXPECT_EQ(take(device, 30).size(), 3u);
  EXPECT_EQ(device.next_byte_ms(), 40);
  EXPECT_EQ(take(device, 60).size(), 3u);
}

TEST(WirePacing, RequestsTakeTheirWireTimeToo) {
  FakeHandler fake;
  WireConfig config;
  config.baud = 115200;  // 86.8 us a byte
  config.pace_requests = true;
  Device device(fake.handler(), config);
  const int64_t t0 = 1'000'000;
  // The whole request is written at once; the printer acts when its last
  // byte is through, and each answer byte follows on the other wire.
  for (char c : kStatusRead) device.from_host_us(static_cast<uint8_t>(c), t0);
  const int64_t request_us =
      (static_cast<int64_t>(kStatusRead.size()) * 10'000'000 + 115199) / 115200;
  EXPECT_EQ(device.next_byte_us(), t0 + request_us + 87);
  EXPECT_EQ(device.to_host_us(t0 + request_us + 86), -1);
  EXPECT_EQ(device.to_host_us(t0 + request_us + 87), 0x06);
  EXPECT_EQ(device.next_byte_us(), t0 + request_us + 174);
}

}  // namespace
}  // namespace ecfsim::test
