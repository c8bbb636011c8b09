#include <gtest/gtest.h>

#include "wire/frame.h"
#include "wire_test_support.h"

namespace ecfsim {
namespace {

using test::bytes;
using test::FakeHandler;
using test::send;
using test::take;

struct ParsedCase {
  const char *name;
  uint8_t start;
  uint16_t command;
  std::string args;
};

class WireFrameCommands : public testing::TestWithParam<ParsedCase> {};

TEST_P(WireFrameCommands, ReachTheHandlerWithCommandAndArguments) {
  const ParsedCase &c = GetParam();
  FakeHandler fake;
  Device device(fake.handler());
  send(device, build_frame(c.start, c.command, c.args), 0);
  ASSERT_EQ(fake.calls.size(), 1u);
  EXPECT_EQ(fake.calls[0].first, c.command);
  EXPECT_EQ(fake.calls[0].second, c.args);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, WireFrameCommands,
    // The edges; every driver test sends the plain frames.
    testing::Values(ParsedCase{"binary_args", kStartBasic, 67,
                               bytes({0x02, 0x03, 0x15, 0x06, 0x00, 0x1B})},
                    ParsedCase{"max_body", kStartBasic, 67, std::string(kMaxFrameBody - 4, 'x')}),
    [](const testing::TestParamInfo<ParsedCase> &info) { return std::string(info.param.name); });

struct BadCase {
  const char *name;
  std::string frame;
};

class WireBadFrames : public testing::TestWithParam<BadCase> {};

TEST_P(WireBadFrames, AreRefusedWith15hAndNotExecuted) {
  FakeHandler fake;
  Device device(fake.handler());
  send(device, GetParam().frame, 0);
  EXPECT_EQ(take(device, 0), bytes({0x15}));
  EXPECT_TRUE(fake.calls.empty());

  // The next good frame is read normally.
  send(device, test::kStatusRead, 1);
  EXPECT_EQ(take(device, 1), bytes({0x06, 0x00, 0x00}));
  EXPECT_EQ(fake.calls.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, WireBadFrames,
    testing::Values(BadCase{"checksum_low", bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2F, 0x00})},
                    BadCase{"checksum_high", bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x01})},
                    BadCase{"length_too_short", bytes({0x02, 0x03, 0x00})},
                    BadCase{"length_zero", bytes({0x02, 0x00, 0x00})},
                    BadCase{"length_too_long", bytes({0x02, 0xFF, 0xFF})},
                    // Length one long: the checksum is read from the wrong bytes.
                    BadCase{"length_off_by_one",
                            bytes({0x02, 0x05, 0x00, 0x1B, 0x13, 0x2E, 0x00, 0x02})}),
    [](const testing::TestParamInfo<BadCase> &info) { return std::string(info.param.name); });

TEST(WireFrame, StalledFrameIsDroppedButSlowSteadyOneKept) {
  FakeHandler fake;
  WireConfig config;
  config.stall_timeout_ms = 500;
  Device device(fake.handler(), config);

  send(device, test::kStatusRead.substr(0, 4), 0);
  // Well past the time-out the rest arrives: it no longer completes a frame.
  send(device, test::kStatusRead.substr(4), 501);
  EXPECT_TRUE(fake.calls.empty());
  EXPECT_EQ(take(device, 501), "");

  // A byte every 400 ms never stalls.
  int64_t now = 2000;
  for (char c : test::kStatusRead) device.from_host(static_cast<uint8_t>(c), now += 400);
  EXPECT_EQ(fake.calls.size(), 1u);
}

TEST(WireFrame, WrongStartByteIsAnsweredAsNotEsc) {
  FakeHandler fake;
  for (Protocol protocol : {Protocol::Basic, Protocol::Extended}) {
    WireConfig config;
    config.protocol = protocol;
    Device device(fake.handler(), config);
    send(device, build_frame(0x1A, 19, ""), 0);
    const std::string expected = protocol == Protocol::Basic ? bytes({0x06, 0x08, 0x01})
                                                             : bytes({0x06, 0x08, 0x01, 141, 0x00});
    EXPECT_EQ(take(device, 0), expected);
  }
  EXPECT_TRUE(fake.calls.empty());
}

}  // namespace
}  // namespace ecfsim
