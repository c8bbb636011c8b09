// Status read, printer variables and model identity.
#include <array>
#include <utility>

#include "core_test_support.h"

namespace ecfsim::test {
namespace {

TEST(CoreVariables, EveryTableVariableHasItsLengthAndComesDataFirst) {
  constexpr std::array<std::pair<int, size_t>, 71> kSizes{{
      {0, 15},    {1, 2},     {2, 33},   {3, 9},    {4, 7},    {5, 7},    {6, 3},    {7, 3},
      {8, 2},     {9, 2},     {10, 2},   {11, 2},   {12, 2},   {13, 186}, {14, 2},   {15, 2},
      {16, 2},    {17, 1},    {18, 2},   {19, 2},   {20, 1},   {21, 1},   {22, 7},   {23, 6},
      {24, 9},    {25, 171},  {26, 6},   {27, 3},   {28, 1},   {29, 2},   {30, 7},   {31, 3},
      {32, 1925}, {33, 1550}, {34, 600}, {40, 20},  {41, 3},   {42, 20},  {43, 20},  {44, 20},
      {45, 2},    {46, 2},    {47, 60},  {48, 570}, {49, 620}, {50, 780}, {51, 570}, {52, 2},
      {53, 2},    {54, 3},    {55, 3},   {56, 3},   {57, 2},   {58, 20},  {59, 2},   {60, 42},
      {61, 6},    {62, 10},   {63, 10},  {64, 6},   {65, 1},   {66, 7},   {67, 3},   {68, 9},
      {70, 2},    {71, 2},    {72, 6},   {73, 18},  {74, 1},   {75, 1},   {253, 3},
  }};
  Bench b;
  for (const auto &[v, size] : kSizes) {
    const Reply r = b.var(static_cast<uint8_t>(v));
    EXPECT_FALSE(refused(r)) << v;
    EXPECT_EQ(r.data.size(), size) << v;
    EXPECT_EQ(r.layout, Layout::DataFirst) << v;
  }
}

TEST(CoreVariables, VariablesOutsideTheTableAreRefusedWithoutData) {
  Bench b;
  for (int v : {35, 36, 37, 38, 39, 69, 76, 100, 252, 254, 255}) {
    const Reply r = b.var(static_cast<uint8_t>(v));
    EXPECT_TRUE(refused(r)) << v;
    EXPECT_EQ(r.st2 & 0x80, 0x80) << v;
    EXPECT_TRUE(r.data.empty()) << v;
    EXPECT_EQ(r.layout, Layout::StatusFirst) << v;
  }
  EXPECT_EQ(b.run(35).st1 & 0x01, 0x01);
  EXPECT_EQ(b.run(35, "\x06\x06").st1 & 0x01, 0x01);
}

TEST(CoreVariables, OlderModelsRefuseDetailTapeVariablesKeepingTheLength) {
  Bench older(1);
  const Reply r = older.var(41);
  EXPECT_TRUE(refused(r));
  EXPECT_EQ(r.data.size(), 3u);
  EXPECT_EQ(r.layout, Layout::DataFirst);
  EXPECT_FALSE(refused(older.var(1)));
  EXPECT_EQ(older.var(0).data.substr(0, 4), "4708");
  Bench mp40(3);
  EXPECT_EQ(mp40.var(0).data.substr(0, 4), "5708");
  Bench mfd(12);
  EXPECT_FALSE(refused(mfd.var(41)));
}

TEST(CoreVariables, IdentityAndModelLookUp) {
  // The name sits at offset 15, padded to 20.
  const std::string id = Bench(12).var(60).data;
  ASSERT_EQ(id.size(), 42u);
  EXPECT_EQ(id.substr(15, 20), "MP-4000 TH FI       ");
  for (const auto &[code, maker] :
       {std::pair{12, "BEMATECH       "}, std::pair{8, "UNISYS         "},
        std::pair{10, "IBM            "}})
    EXPECT_EQ(Bench(code).var(60).data.substr(0, 15), maker) << code;
  for (int code = 1; code <= 14; ++code)
    EXPECT_EQ(Bench(code).printer->is_mfd(), code >= 5) << code;
  EXPECT_EQ(Bench(3).printer->columns(), 40);
  EXPECT_EQ(Bench(5).printer->columns(), 48);

  for (const auto &[name, code] :
       std::initializer_list<std::pair<const char *, int>>{{"MP-4000 TH FI", 12},
                                                           {"mp-4000", 12},
                                                           {"12", 12},
                                                           {"MP-20 FI II", 1},
                                                           {"BR6000-TH", 8},
                                                           {"15", 0},
                                                           {"MP-9999", 0},
                                                           {"", 0}}) {
    EXPECT_EQ(model_code_from_name(name), code) << name;
  }
}

TEST(CoreVariables, ClockAndDayDate) {
  Bench b;
  EXPECT_EQ(b.var(23).data, std::string("\x04\x12\x26\x10\x00\x00", 6));
  EXPECT_EQ(b.var(27).data, std::string(3, '\0'));
  b.clock += 3 * 3600 + 25 * 60 + 7;
  EXPECT_EQ(b.var(23).data, std::string("\x04\x12\x26\x13\x25\x07", 6));
}

// Every answer with fixed-length data sends it before the status bytes and
// keeps its length even when refused, so a reader waiting for it is never
// left short.
TEST(CoreLayout, FixedLengthAnswersComeDataFirstWithTheirLength) {
  struct Case {
    int model;
    uint16_t command;
    size_t length;
  };
  for (const Case &c :
       {Case{12, 23, 1}, Case{12, 26, 33}, Case{12, 27, 219}, Case{12, 29, 7}, Case{12, 30, 3},
        Case{12, 71, 2}, Case{7, 76, 39}, Case{12, 76, 39}, Case{12, 87, 436}, Case{12, 88, 621},
        Case{1, 88, 621}, Case{12, ext(48), 1}, Case{12, ext(54), 2}, Case{12, ext(55), 308},
        Case{1, ext(55), 308}}) {
    Bench b(c.model);
    const Reply r = b.run(c.command, c.command == 71 ? "Pix" : "");
    EXPECT_EQ(r.layout, Layout::DataFirst) << c.model << "/" << c.command;
    EXPECT_EQ(r.data.size(), c.length) << c.model << "/" << c.command;
  }
  Bench b;
  const Reply status = b.run(19);
  EXPECT_EQ(status.st1 | status.st2, 0);
  EXPECT_TRUE(status.data.empty());
  for (uint16_t c : {0, 5, 6, 14, 19, 21, 22, 34, 72}) {
    EXPECT_EQ(b.run(c).layout, Layout::StatusFirst) << c;
  }
  const Reply unknown = b.run(200);
  EXPECT_EQ(unknown.st1 & 0x04, 0x04);
  EXPECT_TRUE(refused(unknown));
}

}  // namespace
}  // namespace ecfsim::test
