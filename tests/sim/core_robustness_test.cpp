// Any bytes from the host: no crash, no answer of the wrong shape, and the
// books stay consistent.
#include <random>

#include "core_test_support.h"

namespace ecfsim::test {
namespace {

std::string random_args(std::mt19937 &rng) {
  static constexpr size_t kLengths[] = {0,  1,  2,  4,  5,  9,  12, 13, 15, 16,  29,  32,
                                        36, 52, 53, 59, 67, 68, 78, 84, 94, 139, 200, 700};
  std::uniform_int_distribution<size_t> pick(0, std::size(kLengths) - 1);
  const size_t n = kLengths[pick(rng)];
  std::string a(n, '0');
  std::uniform_int_distribution<int> kind(0, 3), byte(0, 255), digit('0', '9');
  for (char &c : a) {
    switch (kind(rng)) {
      case 0:
        c = static_cast<char>(byte(rng));
        break;
      case 1:
        c = ' ';
        break;
      default:
        c = static_cast<char>(digit(rng));
        break;
    }
  }
  return a;
}

TEST(CoreRobustness, RandomCommandsNeverBreakThePrinter) {
  std::mt19937 rng(20261204);
  std::uniform_int_distribution<int> cmd(0, 130), sub(40, 90), which(0, 9);
  for (int model : {12, 1, 7}) {
    Bench b(model);
    for (int i = 0; i < 6000; ++i) {
      const uint16_t c =
          which(rng) == 0 ? ext(static_cast<uint8_t>(sub(rng))) : static_cast<uint16_t>(cmd(rng));
      const Reply r = b.run(c, random_args(rng));
      if (r.layout == Layout::DataFirst) {
        EXPECT_FALSE(r.data.empty()) << c;
      }
      if (r.layout == Layout::Stream && refused(r)) {
        EXPECT_TRUE(r.data.empty()) << c;
      }
      if (i % 500 == 0) {
        Bench again(model);
        ASSERT_TRUE(again.printer->load(b.printer->save())) << i;
      }
    }
    for (const auto &l : b.paper) {
      ASSERT_LE(l.size(), static_cast<size_t>(b.printer->columns())) << l;
    }
  }
}

}  // namespace
}  // namespace ecfsim::test
