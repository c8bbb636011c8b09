#include <gtest/gtest.h>

#include "program/options.h"
#include "program/paper.h"

namespace ecfsim::program {
namespace {

using Kind = CommandFault::Kind;

TEST(FaultOption, CommandFaultsByNumberAndOccurrence) {
  struct Case {
    const char *text;
    bool ok;
    CommandFault fault;
  };
  for (const Case &c : {
           Case{"delay-answer=32:1500", true, {Kind::Delay, 32, 0, 1500}},
           Case{"drop-answer=62/60@3", true, {Kind::Drop, 62 * 256 + 60, 3, 0}},
           Case{"die-before=10@1:200", true, {Kind::DieBefore, 10, 1, 200}},
           Case{"die-after=255:0", true, {Kind::DieAfter, 255, 0, 0}},
           Case{"drop-answer=256", false, {}},
           Case{"drop-answer=61/1", false, {}},
           Case{"drop-answer=10@0", false, {}},
           Case{"delay-answer=10", false, {}},
           Case{"die-after=10:", false, {}},
       }) {
    Options o;
    EXPECT_EQ(apply_fault(c.text, o), c.ok) << c.text;
    const auto want = c.ok ? std::vector{c.fault} : std::vector<CommandFault>{};
    EXPECT_EQ(o.wire_faults.commands, want) << c.text;
  }
  Options o;
  EXPECT_TRUE(apply_fault("stale-at-connect=40", o));
  EXPECT_TRUE(o.wire_faults.stale_at_connect);
  EXPECT_EQ(o.wire_faults.stale_noise, 40u);
}

TEST(PaperText, Latin1ShowsAsUtf8) {
  EXPECT_EQ(latin1_to_utf8("Autoriza\xE7\xE3o n\xBA 5 \xFF"), "Autorização nº 5 ÿ");
  EXPECT_EQ(latin1_to_utf8("a\x80\x9F"
                           "b"),
            "a  b");
}

}  // namespace
}  // namespace ecfsim::program
