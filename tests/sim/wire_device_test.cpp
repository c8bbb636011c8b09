#include <gtest/gtest.h>

#include "wire_test_support.h"

namespace ecfsim {
namespace {

using test::bytes;
using test::FakeHandler;
using test::send;
using test::take;

struct LayoutCase {
  const char *name;
  Protocol protocol;
  Reply reply;
  std::string expected;
};

Reply make_reply(Layout layout, uint8_t st1, uint8_t st2, uint16_t exec, std::string data) {
  Reply r;
  r.layout = layout;
  r.st1 = st1;
  r.st2 = st2;
  r.exec_status = exec;
  r.data = std::move(data);
  return r;
}

class WireLayouts : public testing::TestWithParam<LayoutCase> {};

TEST_P(WireLayouts, AnswerInTheProtocolOfTheRequest) {
  const LayoutCase &c = GetParam();
  FakeHandler fake;
  fake.reply = c.reply;
  // The configured protocol is the other one: the request decides.
  WireConfig config;
  config.protocol = c.protocol == Protocol::Basic ? Protocol::Extended : Protocol::Basic;
  Device device(fake.handler(), config);
  send(device,
       build_frame(c.protocol == Protocol::Basic ? kStartBasic : kStartExtended, 35, "\x11"), 0);
  EXPECT_EQ(take(device, 0), c.expected);
}

constexpr auto B = Protocol::Basic;
constexpr auto E = Protocol::Extended;
constexpr auto SF = Layout::StatusFirst;
constexpr auto DF = Layout::DataFirst;
constexpr auto ST = Layout::Stream;

INSTANTIATE_TEST_SUITE_P(
    Layouts, WireLayouts,
    testing::Values(
        LayoutCase{"basic_status_only", B, make_reply(SF, 0x40, 0x00, 0, ""),
                   bytes({6, 0x40, 0x00})},
        LayoutCase{"ext_status_only", E, make_reply(SF, 0x40, 0x00, 0x1234, ""),
                   bytes({6, 0x40, 0x00, 0x34, 0x12})},
        LayoutCase{"basic_status_first_data", B, make_reply(SF, 0, 0, 0, "AB"),
                   bytes({6, 0, 0, 'A', 'B'})},
        LayoutCase{"ext_status_first_data", E, make_reply(SF, 0, 0, 0, "AB"),
                   bytes({6, 0, 0, 0, 0, 'A', 'B', 0, 0})},
        LayoutCase{"basic_status_first_refused", B, make_reply(SF, 0, 0x81, 0, "AB"),
                   bytes({6, 0, 0x81})},
        LayoutCase{"ext_status_first_refused", E, make_reply(SF, 0, 0x81, 63, "AB"),
                   bytes({6, 0, 0x81, 63, 0})},
        LayoutCase{"basic_data_first", B, make_reply(DF, 0x20, 0, 0, "xyz"),
                   bytes({6, 'x', 'y', 'z', 0x20, 0})},
        LayoutCase{"ext_data_first", E, make_reply(DF, 0, 0, 0x0102, "xyz"),
                   bytes({6, 'x', 'y', 'z', 0, 0, 2, 1})},
        // Data-first answers keep their length even when refused.
        LayoutCase{"basic_data_first_refused", B, make_reply(DF, 0, 0x01, 0, std::string(2, '\0')),
                   bytes({6, 0, 0, 0, 0x01})},
        LayoutCase{"ext_data_first_refused", E, make_reply(DF, 0, 0x01, 11, std::string(2, '\0')),
                   bytes({6, 0, 0, 0, 0x01, 11, 0})},
        LayoutCase{"basic_stream", B, make_reply(ST, 0, 0, 0, "L1\nL2\n"),
                   bytes({6, 0, 0, 'L', '1', 10, 'L', '2', 10, 3})},
        LayoutCase{"ext_stream", E, make_reply(ST, 0, 0, 0, "L\n"),
                   bytes({6, 0, 0, 0, 0, 'L', 10, 3})},
        LayoutCase{"basic_stream_empty", B, make_reply(ST, 0, 0, 0, ""), bytes({6, 0, 0, 3})},
        LayoutCase{"basic_stream_refused", B, make_reply(ST, 0, 0x81, 0, "L\n"),
                   bytes({6, 0, 0x81})},
        LayoutCase{"ext_stream_refused", E, make_reply(ST, 0, 0x81, 8, "L\n"),
                   bytes({6, 0, 0x81, 8, 0})}),
    [](const testing::TestParamInfo<LayoutCase> &info) { return std::string(info.param.name); });

struct PaceCase {
  uint32_t baud;
  uint32_t delay_ms;
  size_t answer_bytes;
  // Times (ms after the frame) at which the first and the last byte are due.
  int64_t first_due;
  int64_t last_due;
};

class WirePacingTable : public testing::TestWithParam<PaceCase> {};

TEST_P(WirePacingTable, BytesArriveAtTheLineSpeed) {
  const PaceCase &c = GetParam();
  FakeHandler fake;
  fake.reply.data = std::string(c.answer_bytes - 3, 'd');
  WireConfig config;
  config.baud = c.baud;
  config.delay_ms = c.delay_ms;
  Device device(fake.handler(), config);
  const int64_t t0 = 1000;
  send(device, test::kStatusRead, t0);

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

INSTANTIATE_TEST_SUITE_P(
    Pacing, WirePacingTable,
    testing::Values(PaceCase{0, 0, 103, 0, 0},          // no baud nor delay: at once
                    PaceCase{9600, 0, 3, 2, 4},         // 1.04 ms a byte, rounded up
                    PaceCase{9600, 0, 96, 2, 100},      // 96 bytes: exactly 100 ms
                    PaceCase{115200, 0, 1158, 1, 101},  // 1158 bytes: 100.52 ms
                    PaceCase{1200, 25, 3, 25 + 9, 25 + 25}, PaceCase{10, 0, 3, 1000, 3000}));

TEST(WirePacing, SecondAnswerWaitsForTheFirst) {
  FakeHandler fake;
  WireConfig config;
  config.baud = 1000;  // 10 ms a byte
  Device device(fake.handler(), config);
  send(device, test::kStatusRead, 0);
  send(device, test::kStatusRead, 5);
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
  for (char c : test::kStatusRead) device.from_host_us(static_cast<uint8_t>(c), t0);
  const int64_t request_us =
      (static_cast<int64_t>(test::kStatusRead.size()) * 10'000'000 + 115199) / 115200;
  EXPECT_EQ(device.next_byte_us(), t0 + request_us + 87);
  EXPECT_EQ(device.to_host_us(t0 + request_us + 86), -1);
  EXPECT_EQ(device.to_host_us(t0 + request_us + 87), 0x06);
  EXPECT_EQ(device.next_byte_us(), t0 + request_us + 174);
}

TEST(WireBusy, NoAnswersAndCtsLowWhileBusy) {
  FakeHandler fake;
  fake.reply.busy_ms = 5000;
  Device device(fake.handler());
  EXPECT_TRUE(device.cts(0));
  send(device, build_frame(kStartBasic, 5, ""), 100);
  EXPECT_EQ(take(device, 100), bytes({6, 0, 0}));
  fake.reply.busy_ms = 0;

  EXPECT_FALSE(device.cts(100));
  EXPECT_FALSE(device.cts(5099));
  // A frame sent anyway is lost: no answer, not executed.
  send(device, test::kStatusRead, 3000);
  EXPECT_EQ(take(device, 10000), "");
  EXPECT_EQ(fake.calls.size(), 1u);

  EXPECT_TRUE(device.cts(5100));
  send(device, test::kStatusRead, 5100);
  EXPECT_EQ(take(device, 5100), bytes({6, 0, 0}));
  EXPECT_EQ(fake.calls.size(), 2u);
}

TEST(WireBusy, BusyStartsWhenTheAnswerIsThrough) {
  FakeHandler fake;
  fake.reply.busy_ms = 100;
  WireConfig config;
  config.baud = 1000;
  config.delay_ms = 20;
  Device device(fake.handler(), config);
  send(device, test::kStatusRead, 0);
  // Answer lines up at 20 and takes 30 ms; busy until 150.
  EXPECT_FALSE(device.cts(149));
  EXPECT_TRUE(device.cts(150));
}

TEST(WireQueue, HostThatNeverReadsCannotGrowTheQueueWithoutEnd) {
  FakeHandler fake;
  fake.reply.data = std::string(97, 'd');  // 100-byte answers
  WireConfig config;
  config.max_pending_bytes = 250;
  Device device(fake.handler(), config);
  for (int i = 0; i < 10; ++i) send(device, test::kStatusRead, i);
  EXPECT_EQ(device.pending_bytes(), 200u);
  EXPECT_EQ(fake.calls.size(), 10u);  // executed all the same, as on a real line
  EXPECT_EQ(take(device, 100).size(), 200u);
}

}  // namespace
}  // namespace ecfsim
