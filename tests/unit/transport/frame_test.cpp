#include "transport/test_support.h"

namespace ecftest {
namespace {

using FrameTest = DriverTest;

TEST_F(FrameTest, StatusReadInTheBasicProtocol) {
    expect({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00}, {0x06, 0x00, 0x00});
    EXPECT_EQ(ECFBMTC_exec(19), 0);
    EXPECT_EQ(answer_bytes(), (Bytes{0x06, 0x00, 0x00}));
}

}  // namespace
}  // namespace ecftest
