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
std::vector<std::string> exchange(Device& device, int count)
{
    std::vector<std::string> answers;
    for (int i = 0; i < count; ++i) {
        send(device, test::kStatusRead, i);
        answers.push_back(take(device, i));
    }
    return answers;
}

TEST(WireFaults, RefuseEveryNthFrameWithoutExecutingIt)
{
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().refuse_every = 3;
    const std::vector<std::string> expected{kOk, kOk, kNak, kOk, kOk, kNak, kOk};
    EXPECT_EQ(exchange(device, 7), expected);
    EXPECT_EQ(fake.calls.size(), 5u);
}

TEST(WireFaults, RefuseNextFramesThenRecover)
{
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().refuse_next = 2;
    const std::vector<std::string> expected{kNak, kNak, kOk, kOk};
    EXPECT_EQ(exchange(device, 4), expected);
    EXPECT_EQ(fake.calls.size(), 2u);
}

TEST(WireFaults, DropEveryNthAnswerButExecuteTheCommand)
{
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().drop_every = 2;
    const std::vector<std::string> expected{kOk, "", kOk, "", kOk};
    EXPECT_EQ(exchange(device, 5), expected);
    EXPECT_EQ(fake.calls.size(), 5u);
}

TEST(WireFaults, DropNextAnswer)
{
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().drop_next = 1;
    const std::vector<std::string> expected{"", kOk};
    EXPECT_EQ(exchange(device, 2), expected);
}

TEST(WireFaults, RefusedFramesDoNotCountAsCommandsForDrops)
{
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().refuse_every = 2;
    device.faults().drop_every = 2;
    // Frames 1..4: ok(command 1), refused, dropped(command 2), refused.
    const std::vector<std::string> expected{kOk, kNak, "", kNak};
    EXPECT_EQ(exchange(device, 4), expected);
}

TEST(WireFaults, LateAnswerAddsToTheDelay)
{
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

TEST(WireFaults, JunkBeforeTheAnswerIsNeverAnAckOrNak)
{
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().junk = 12;
    send(device, test::kStatusRead, 0);
    const std::string answer = take(device, 0);
    ASSERT_EQ(answer.size(), 15u);
    EXPECT_EQ(answer.substr(12), kOk);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_NE(answer[i], 0x06);
        EXPECT_NE(answer[i], 0x15);
    }
}

TEST(WireFaults, JunkIsNotAddedToFrameRefusals)
{
    FakeHandler fake;
    Device device(fake.handler());
    device.faults().junk = 3;
    send(device, bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x00, 0x00}), 0);
    EXPECT_EQ(take(device, 0), kNak);
}

TEST(WireFaults, CtsHeldLow)
{
    FakeHandler fake;
    Device device(fake.handler());
    EXPECT_TRUE(device.cts(0));
    device.faults().cts_low = true;
    EXPECT_FALSE(device.cts(0));
    EXPECT_FALSE(device.cts(1'000'000));
    device.faults().cts_low = false;
    EXPECT_TRUE(device.cts(1'000'000));
}

TEST(WireFaults, LineErrorsAreReadAndCleared)
{
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
