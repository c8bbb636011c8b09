// The printer's memory across restarts, and the faults of the printer
// itself.
#include "core_test_support.h"

namespace ecfsim::test {
namespace {

const std::string kItem = item(1000);

TEST(CoreState, ARestartInTheMiddleOfAReceiptKeepsEverything) {
  Bench b;
  b.run(0);
  b.run(9, kItem);
  b.run(5);  // a reduction in the books (it cancels the receipt)
  b.run(71, "Vale");
  b.run(0);
  b.run(9, kItem);
  b.run(93, "D001" + field("100", 8));
  b.run(32, "D0000");
  b.run(72, field("4", 2) + field("500", 14));
  const std::string saved = b.printer->save();

  Bench after;
  ASSERT_TRUE(after.printer->load(saved));
  EXPECT_EQ(after.printer->save(), saved);
  EXPECT_EQ(after.run(19).st1 & 0x02, 0x02);
  EXPECT_EQ(after.var(17).data, b.var(17).data);
  EXPECT_EQ(after.var(22).data, b.var(22).data);
  EXPECT_EQ(after.run(29).data, b.run(29).data);
  EXPECT_EQ(after.var(6).data, b.var(6).data);
  EXPECT_EQ(after.run(88).data, b.run(88).data);
  ASSERT_FALSE(refused(after.run(72, field("4", 2) + field("400", 14))));
  ASSERT_FALSE(refused(after.run(34)));
  EXPECT_EQ(bcd_value(after.run(27).data.substr(210, 9)), 2000u);
  EXPECT_NE(after.run(8, "000000009999R").data.find("CRZ:0001"), std::string::npos);
}

TEST(CoreState, BadStatesAreRefusedAndLeaveThePrinterAlone) {
  Bench b;
  b.run(0);
  b.run(9, kItem);
  const std::string saved = b.printer->save();

  Bench other;
  other.run(6);
  const std::string before = other.printer->save();
  EXPECT_FALSE(other.printer->load(""));
  EXPECT_FALSE(other.printer->load("not a state at all"));
  for (size_t n = 0; n < saved.size(); ++n) {
    ASSERT_FALSE(other.printer->load(saved.substr(0, n))) << n;
  }
  for (size_t i = 0; i < saved.size(); i += 7) {
    std::string broken = saved;
    broken[i] = static_cast<char>(broken[i] ^ 0x5A);
    ASSERT_FALSE(other.printer->load(broken)) << i;
  }
  EXPECT_EQ(other.printer->save(), before);
  // A state belongs to the model that wrote it.
  EXPECT_FALSE(Bench(5).printer->load(saved));
}

TEST(CoreFaults, PaperOutRefusesPrintingButNotReading) {
  Bench b;
  b.printer->faults().paper_out = true;
  const Reply st = b.run(19);
  EXPECT_EQ(st.st1, 0x80);
  EXPECT_EQ(st.st2, 0);
  EXPECT_FALSE(refused(b.var(6)));
  for (uint16_t c : {0, 6, 5}) {
    const Reply r = b.run(c);
    EXPECT_TRUE(refused(r)) << c;
    EXPECT_EQ(r.st1 & 0x80, 0x80) << c;
    EXPECT_EQ(r.exec_status, 11) << c;
  }
  EXPECT_EQ(b.var(6).data, std::string(3, '\0'));
  EXPECT_FALSE(refused(b.run(8, "000000009999R")));
  EXPECT_TRUE(refused(b.run(8, "000000009999I")));
  b.printer->faults().paper_out = false;
  b.printer->faults().paper_near_end = true;
  const Reply near = b.run(0);
  EXPECT_FALSE(refused(near));
  EXPECT_EQ(near.st1 & 0xC0, 0x40);
}

TEST(CoreFaults, AMechanismFaultRefusesPrintingWithItsStatus) {
  Bench b;
  b.printer->faults().head_lifted = true;
  EXPECT_EQ(b.run(19).st1, 0x10);
  EXPECT_EQ(b.run(0).exec_status, 12);
  EXPECT_FALSE(refused(b.var(17)));
  b.printer->faults().head_lifted = false;
  b.printer->faults().offline = true;
  EXPECT_EQ(b.run(6).exec_status, 13);
  b.printer->faults().offline = false;
  EXPECT_FALSE(refused(b.run(6)));
}

TEST(CoreFaults, FullFiscalMemoryStopsSalesAndReductions) {
  Bench b;
  b.printer->faults().fiscal_memory_full = true;
  EXPECT_EQ(b.run(19).st2, 0x40);
  EXPECT_EQ(b.run(0).st2, 0x41);
  EXPECT_EQ(b.run(77).st2, 0x41);
  EXPECT_EQ(b.run(5).st2, 0x41);
  EXPECT_EQ(static_cast<uint8_t>(b.var(17).data[0]) & 0x88, 0x88);
  EXPECT_FALSE(refused(b.run(6)));
  EXPECT_FALSE(refused(b.run(8, "000000009999R")));
}

TEST(CoreFaults, TheFiscalMemoryFillsUpAfterItsLastReduction) {
  int64_t clock = kMorning;
  PrinterConfig c;
  c.model_code = 1;
  c.clock = [&clock] { return clock; };
  Printer p(std::move(c));
  for (int i = 0; i < 2280; ++i, clock += 86400) ASSERT_FALSE(p.execute(5, {}).st2 & 1) << i;
  const Reply full = p.execute(5, {});
  EXPECT_EQ(full.st2, 0x41);
  EXPECT_EQ(p.execute(0, {}).st2, 0x41);
  EXPECT_EQ(p.execute(35, std::string(1, '\x09')).data, std::string("\x22\x80", 2));
}

TEST(CoreState, OpenDocumentsOfEveryKindSurviveARestart) {
  struct Case {
    const char *name;
    uint16_t open;
    std::string args;
    uint16_t next;
    std::string next_args;
  };
  for (const Case &c : {
           Case{"non-fiscal", 77, "", 78, "01" + field("900", 14)},
           Case{"report", 83, "02", 20, "linha\n"},
       }) {
    Bench b;
    ASSERT_FALSE(refused(b.run(c.open, c.args))) << c.name;
    Bench after;
    ASSERT_TRUE(after.printer->load(b.printer->save())) << c.name;
    EXPECT_TRUE(refused(after.run(0))) << c.name;
    EXPECT_FALSE(refused(after.run(c.next, c.next_args))) << c.name;
  }
}

TEST(CoreState, AnotherDocumentEndsThePreviousReceiptsCancellation) {
  Bench b;
  b.run(0);
  b.run(9, kItem);
  b.run(32, "D0000");
  b.run(72, field("1", 2) + field("1000", 14));
  b.run(34);
  b.run(6);
  EXPECT_EQ(b.run(14).st2 & 0x04, 0x04);
}

TEST(CoreState, AReceiptHoldsAtMost999Items) {
  Bench b;
  b.run(0);
  for (int i = 0; i < 999; ++i) ASSERT_FALSE(refused(b.run(9, kItem))) << i;
  EXPECT_EQ(b.run(9, kItem).st2 & 0x81, 0x81);
  EXPECT_EQ(bcd_value(b.run(29).data), 999000u);
  // The whole receipt survives the state file too.
  Bench after;
  ASSERT_TRUE(after.printer->load(b.printer->save()));
  EXPECT_EQ(bcd_value(after.run(29).data), 999000u);
}

}  // namespace
}  // namespace ecfsim::test
