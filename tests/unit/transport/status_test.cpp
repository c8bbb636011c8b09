// Status bytes and execution status into result codes, in the scan order.
#include "transport/test_support.h"

namespace ecftest {
namespace {

struct StatusCase {
  int st1, st2, exec;
  int result;
  int ultima_falha;  // -1: left alone
};

class StatusTest : public LineTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusTest, DecodesInOrder) {
  const StatusCase c = GetParam();
  ECFBMTC_ultima_falha = -1;
  if (c.exec >= 0) {
    extended();
    on_frame({0x06, c.st1, c.st2, c.exec & 0xFF, c.exec >> 8});
  } else {
    on_frame({0x06, c.st1, c.st2});
  }
  EXPECT_EQ(ECFBMTC_exec(22), c.result);
  EXPECT_EQ(ECFBMTC_ultima_falha, c.ultima_falha);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, StatusTest,
    ::testing::Values(StatusCase{0x40, 0x00, -1, 0,
                                 -1},  // no ST1 bit fails while ST2 bit 0 is clear
                      StatusCase{0xFF, 0xFE, -1, 0, -1},
                      StatusCase{0x00, 0x01, -1, 34, 1},  // no rule: 34 with ST2
                      StatusCase{0x04, 0x03, -1, 9, 9},   // ST2 02h comes before ST1 04h
                      StatusCase{0xFF, 0x41, -1, 5, 5}, StatusCase{0xFF, 0x21, -1, 20, 20},
                      StatusCase{0xFF, 0x01, -1, 1, 1},  // ST1 20h first among ST1 bits
                      StatusCase{0xDF, 0x01, -1, 12, 12}, StatusCase{0xCF, 0x01, -1, 11, 11},
                      StatusCase{0x4F, 0x01, -1, 15, 15}, StatusCase{0x4B, 0x01, -1, 2, 2},
                      StatusCase{0x4A, 0x81, -1, 2, 2}, StatusCase{0x4A, 0x05, -1, 15, 15},
                      StatusCase{0x42, 0x05, -1, 1, 1}, StatusCase{0x42, 0x01, -1, 11, 11},
                      StatusCase{0x00, 0x01, 66, 0, 1},  // already done
                      StatusCase{0x00, 0x01, 8, 1, 1}, StatusCase{0x00, 0x01, 101, 1, 1},
                      StatusCase{0x00, 0x01, 12, 39, 39}, StatusCase{0x00, 0x01, 13, 39, 39},
                      StatusCase{0x00, 0x01, 63, 16, 16}, StatusCase{0x00, 0x01, 70, 2, 2},
                      StatusCase{0x00, 0x01, 11, 11, 11},
                      StatusCase{0x10, 0x01, 5, 12, 12},  // unknown execution status: bits decide
                      StatusCase{0x00, 0x00, 12, 0, -1},  // execution status alone fails nothing
                      StatusCase{0x00, 0x01, 0, 34, 1}));

TEST_F(LineTest, LastFailureSurvivesSuccess) {
  on_frame({0x06, 0x00, 0x03});
  on_frame({0x06, 0x00, 0x00});
  EXPECT_EQ(ECFBMTC_exec(22), 9);
  EXPECT_EQ(ECFBMTC_exec(22), 0);
  EXPECT_EQ(ECFBMTC_ultima_falha, 9);
}

}  // namespace
}  // namespace ecftest
