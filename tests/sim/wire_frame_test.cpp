#include <gtest/gtest.h>

#include "wire/frame.h"
#include "wire_test_support.h"

namespace ecfsim::test {
namespace {

TEST(WireFrame, CommandsReachTheHandlerWithTheirArguments) {
  // The edges; every driver test sends the plain frames.
  for (const std::string &args :
       {bytes({0x02, 0x03, 0x15, 0x06, 0x00, 0x1B}), std::string(kMaxFrameBody - 4, 'x')}) {
    FakeHandler fake;
    Device device(fake.handler());
    send(device, build_frame(kStartBasic, 67, args), 0);
    ASSERT_EQ(fake.calls.size(), 1u) << args.size();
    EXPECT_EQ(fake.calls[0].first, 67);
    EXPECT_EQ(fake.calls[0].second, args);
  }
}

TEST(WireFrame, BadFramesAreRefusedWith15hAndNotExecuted) {
  struct BadCase {
    const char *name;
    std::string frame;
  };
  for (const BadCase &c : {
           BadCase{"checksum_low", bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2F, 0x00})},
           BadCase{"checksum_high", bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x01})},
           BadCase{"length_too_short", bytes({0x02, 0x03, 0x00})},
           BadCase{"length_zero", bytes({0x02, 0x00, 0x00})},
           BadCase{"length_too_long", bytes({0x02, 0xFF, 0xFF})},
           // Length one long: the checksum is read from the wrong bytes.
           BadCase{"length_off_by_one", bytes({0x02, 0x05, 0x00, 0x1B, 0x13, 0x2E, 0x00, 0x02})},
       }) {
    SCOPED_TRACE(c.name);
    FakeHandler fake;
    Device device(fake.handler());
    send(device, c.frame, 0);
    EXPECT_EQ(take(device, 0), kNak);
    EXPECT_TRUE(fake.calls.empty());

    // The next good frame is read normally.
    send(device, kStatusRead, 1);
    EXPECT_EQ(take(device, 1), kOk);
    EXPECT_EQ(fake.calls.size(), 1u);
  }
}

TEST(WireFrame, StalledFrameIsDroppedButSlowSteadyOneKept) {
  FakeHandler fake;
  WireConfig config;
  config.stall_timeout_ms = 500;
  Device device(fake.handler(), config);

  send(device, kStatusRead.substr(0, 4), 0);
  // Well past the time-out the rest arrives: it no longer completes a frame.
  send(device, kStatusRead.substr(4), 501);
  EXPECT_TRUE(fake.calls.empty());
  EXPECT_EQ(take(device, 501), "");

  // A byte every 400 ms never stalls.
  int64_t now = 2000;
  for (char c : kStatusRead) device.from_host(static_cast<uint8_t>(c), now += 400);
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
}  // namespace ecfsim::test
