// Variable reads, the status read, the document state and BCD helpers.
#include <cstring>

#include "setup/persistent_state.h"
#include "transport/document_state.h"
#include "transport/test_support.h"

namespace ecftest {
namespace {

using ReadsTest = LineTest;

TEST_F(ReadsTest, VariableReadTriesFiveTimes) {
  for (int i = 0; i < 5; ++i) on_frame({0x06, 0x00, 0x00});  // one byte short each
  EXPECT_EQ(ECFBMTC_le_parametro(17), 37);
  EXPECT_EQ(frames().size(), 5u);

  reset();
  on_frame({0x06, 0x00});
  on_frame(data_answer({0x01}));
  EXPECT_EQ(ECFBMTC_le_parametro(17), 0);
  EXPECT_EQ(frames().size(), 2u);
  EXPECT_EQ(frames()[0], frame_of(35, {17}));
  EXPECT_EQ(ECFIF_buffer_protocolo[3], 0x01);

  // One silent window may be one lost answer: asked once more, not five
  // times, as a gone printer would cost the same wait each time.
  reset();
  EXPECT_EQ(ECFBMTC_le_parametro(17), 37);
  EXPECT_EQ(frames().size(), 2u);
}

TEST_F(ReadsTest, StatusReadTriesTenTimesWithNotices) {
  set_default_answer({0x06, 0x00});  // never complete
  EXPECT_EQ(ECFBMTC_le_status(), 37);
  EXPECT_EQ(frames().size(), 10u);
  ASSERT_EQ(host().notices.size(), 11u);
  EXPECT_EQ(host().notices.front(), (std::pair<int, std::string>{3, "Lendo status ECF"}));
  EXPECT_EQ(host().notices.back(), (std::pair<int, std::string>{0, "(null)"}));
  EXPECT_GE(now_ms(), 10 * 33000);

  reset();
  on_frame(refusal());
  on_frame(refusal());
  on_frame(refusal());
  on_frame({0x06, 0x00, 0x00});
  EXPECT_EQ(ECFBMTC_le_status(), 0);
  EXPECT_EQ(host().notices.size(), 2u);
}

struct StateCase {
  const char *name;
  std::uint8_t flags;  // variable 17
  Bytes var22;         // empty: not read
  Bytes cmd29;         // empty: not sent
  Bytes var27;         // empty: not read
  int estado_doc, estado_dia;
  int estado;  // worked-out state
  int estado_doc_after;
};

class DocumentStateTest : public LineTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(DocumentStateTest, WorksOutTheState) {
  const StateCase &c = GetParam();
  BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC] = static_cast<unsigned char>(c.estado_doc);
  BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DIA] = static_cast<unsigned char>(c.estado_dia);
  expect(frame_of(35, {17}), data_answer({c.flags}));
  if (!c.var22.empty()) expect(frame_of(35, {22}), data_answer(c.var22));
  if (!c.cmd29.empty()) expect(frame_of(29), data_answer(c.cmd29));
  if (!c.var27.empty()) expect(frame_of(35, {27}), data_answer(c.var27));
  unsigned char estado = 0xEE;
  EXPECT_EQ(ECFBMTC_le_estado_do_ecf(&estado), 0);
  EXPECT_EQ(estado, c.estado);
  EXPECT_EQ(BMTCLOCAL_d[BMTCLOCAL_D_ESTADO_DOC], c.estado_doc_after);
  EXPECT_EQ(pending_steps(), 0u);
  EXPECT_EQ((ECFIF_nvmem.flags & 1) != 0, c.estado_doc != c.estado_doc_after);
}

const Bytes z3{0, 0, 0};
const Bytes nz3{0, 1, 0};
const Bytes phase{0, 0, 0, 0, 0, 0x12, 0x34};

INSTANTIATE_TEST_SUITE_P(
    States, DocumentStateTest,
    ::testing::Values(StateCase{"receipt", 0x01, {}, {}, {}, 4, 0, 3, 4},
                      StateCase{"phase_zero", 0x03, {0, 0, 0, 0, 0, 0, 0}, {}, {}, 1, 6, 6, 1},
                      StateCase{"phase_equal", 0x03, phase, phase, {}, 1, 6, 7, 1},
                      StateCase{"phase_below", 0x03, phase, {0, 0, 0, 0, 1, 0, 0}, {}, 1, 6, 6, 1},
                      StateCase{"phase_above", 0x03, {0, 0, 0, 0, 2, 0, 0}, phase, {}, 1, 6, 7, 1},
                      StateCase{"flagged", 0x08, {}, {}, {}, 0, 0, 51, 5},
                      StateCase{"flagged_again", 0x08, {}, {}, {}, 5, 0, 51, 5},
                      StateCase{"zero_day_not_begun", 0x00, {}, {}, z3, 0, 0, 1, 0},
                      StateCase{"zero_day_begun", 0x00, {}, {}, z3, 0, 6, 2, 0},
                      StateCase{"zero_linked", 0x00, {}, {}, z3, 2, 6, 5, 2},
                      StateCase{"zero_nonfiscal", 0x00, {}, {}, z3, 3, 6, 4, 3},
                      StateCase{"zero_report", 0x00, {}, {}, z3, 4, 6, 9, 4},
                      StateCase{"zero_stale_receipt", 0x00, {}, {}, z3, 1, 6, 2, 0},
                      StateCase{"zero_other", 0x00, {}, {}, z3, 5, 6, 2, 0},
                      StateCase{"moved_none", 0x00, {}, {}, nz3, 0, 0, 2, 0},
                      StateCase{"moved_stale_receipt", 0x00, {}, {}, nz3, 1, 6, 52, 0},
                      StateCase{"moved_linked", 0x00, {}, {}, nz3, 2, 6, 5, 2},
                      StateCase{"moved_nonfiscal", 0x00, {}, {}, nz3, 3, 6, 4, 3},
                      StateCase{"moved_report", 0x00, {}, {}, nz3, 4, 6, 9, 4},
                      StateCase{"moved_other", 0x00, {}, {}, nz3, 5, 6, 52, 5}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReadsTest, DocumentStateLogLinesAndAFailureLeavesTheByte) {
  ECFLOG_modo = 3;
  unsigned char estado = 0xEE;
  EXPECT_EQ(ECFBMTC_le_estado_do_ecf(&estado), 37);
  EXPECT_EQ(estado, 0xEE);
  EXPECT_TRUE(log_has("estad<0>..."));
  EXPECT_TRUE(log_has("estad<0>r37."));
  on_frame(data_answer({0x08}));
  EXPECT_EQ(ECFBMTC_le_estado_do_ecf(&estado), 0);
  EXPECT_TRUE(log_has("estad<5>=51."));
}

TEST(Bcd, TextAndPacking) {
  char out[8];
  std::memset(out, 'z', sizeof out);
  const unsigned char year[] = {0x20, 0x26};
  EXPECT_EQ(ECFBMTCAUX_bcd_para_asciiz(out, year, 2), 4);
  EXPECT_STREQ(out, "2026");
  std::memset(out, 'z', sizeof out);
  EXPECT_EQ(ECFBMTCAUX_bcd_para_texto(out, year, 1), 2);
  EXPECT_EQ(std::string(out, 3), "20z");

  reset();
  on_frame({0x06, 0x00, 0x00});
  ASSERT_EQ(ECFBMTC_exec(19), 0);
  ECFIF_buffer_protocolo[3] = '4';
  ECFIF_buffer_protocolo[4] = '7';
  EXPECT_EQ(ECFBMTC_le_bcd2(3), 0x47);
  EXPECT_EQ(ECFBMTC_le_bcd2(-1), 0);
  EXPECT_EQ(ECFBMTC_le_bcd2(100000), 0);
  reset();
}

}  // namespace
}  // namespace ecftest
