#include <gtest/gtest.h>

#include "program/options.h"
#include "program/paper.h"

namespace ecfsim::program {
namespace {

using Kind = CommandFault::Kind;

TEST(FaultOption, CommandFaultsByNumberAndOccurrence) {
  Options o;
  for (const char *good : {"delay-answer=32:1500", "drop-answer=62/60@3", "die-before=10@1:200",
                           "die-after=255:0", "stale-at-connect=40"})
    EXPECT_TRUE(apply_fault(good, o)) << good;
  EXPECT_EQ(o.wire_faults.commands, (std::vector<CommandFault>{{Kind::Delay, 32, 0, 1500},
                                                               {Kind::Drop, 62 * 256 + 60, 3, 0},
                                                               {Kind::DieBefore, 10, 1, 200},
                                                               {Kind::DieAfter, 255, 0, 0}}));
  EXPECT_EQ(o.wire_faults.stale_noise, 40u);
  for (const char *bad : {"drop-answer=256", "drop-answer=61/1", "drop-answer=10@0",
                          "delay-answer=10", "die-after=10:"})
    EXPECT_FALSE(apply_fault(bad, o)) << bad;
}

TEST(PaperText, Latin1ShowsAsUtf8) {
  EXPECT_EQ(latin1_to_utf8("Autoriza\xE7\xE3o n\xBA 5 \xFF"), "Autorização nº 5 ÿ");
  EXPECT_EQ(latin1_to_utf8("a\x80\x9F"
                           "b"),
            "a  b");
}

}  // namespace
}  // namespace ecfsim::program
