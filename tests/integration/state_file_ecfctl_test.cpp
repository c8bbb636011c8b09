// ecfctl's own modules: the UTF-8/Latin-1 conversion and the two-slot state
// file (no printer).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <string>

#include "latin1.h"
#include "sale_harness.h"
#include "state_file.h"

namespace {

using namespace ecfctl;
using sale_test::read_file;
using sale_test::TempDir;
using sale_test::write_file;

TEST(Latin1, ConvertsWhatItCanAndNamesWhatItCannot) {
  struct Case {
    std::string utf8;
    std::string latin1;  // empty when refused
    std::string error;
  };
  const Case cases[] = {
      {"Pao frances", "Pao frances", ""},
      {"Autoriza\xC3\xA7\xC3\xA3o n\xC2\xBA 5", "Autoriza\xE7\xE3o n\xBA 5", ""},
      {"\xC3\xBF", "\xFF", ""},
      {"5 \xE2\x82\xAC", "", "'\xE2\x82\xAC' (U+20AC) has no Latin-1 form"},
      {"\xF0\x9F\x98\x80", "", "'\xF0\x9F\x98\x80' (U+1F600) has no Latin-1 form"},
      {"Caf\xE9", "", "byte 4 (E9h) is not UTF-8"},           // already Latin-1
      {"\xC0\xAF", "", "byte 1 (C0h) is not UTF-8"},          // overlong
      {"a\xED\xA0\x80", "", "byte 2 (EDh) is not UTF-8"},     // surrogate
      {"\xC3", "", "byte 1 (C3h) is not UTF-8"},              // cut short
      {"\xF4\x90\x80\x80", "", "byte 1 (F4h) is not UTF-8"},  // past U+10FFFF
  };
  for (const Case &c : cases) {
    std::string error;
    auto out = to_latin1(c.utf8, error);
    if (c.error.empty()) {
      ASSERT_TRUE(out.has_value()) << c.utf8 << ": " << error;
      EXPECT_EQ(*out, c.latin1);
      EXPECT_EQ(to_utf8(*out), c.utf8);
    } else {
      EXPECT_FALSE(out.has_value()) << c.utf8;
      EXPECT_EQ(error, c.error);
    }
  }
}

std::array<uint8_t, 2559> record_of(uint8_t fill) {
  std::array<uint8_t, 2559> r{};
  r.fill(fill);
  return r;
}

// Loads `path` into a fresh record; the fill byte read, or -1 when refused.
int loaded_fill(const std::string &path, int32_t *repeat = nullptr) {
  auto r = record_of(0);
  SavedState st{r, 0};
  StateFile f(path);
  if (f.load(st).status != LoadStatus::Loaded) return -1;
  if (repeat != nullptr) *repeat = st.repeat_code;
  return r[100];
}

TEST(StateFile, KeepsTheNewestWholeSlotAndReadsTheOldForm) {
  TempDir dir;
  const std::string path = dir.file("st");
  // The single-copy form of earlier versions, as they wrote it.
  std::string old = std::string("ECFCTLST\x01\0\0\0\xFF\x09\0\0", 16) + std::string(4, '\0') +
                    std::string("\x07\0\0\0", 4) + std::string(2559, '\x11');
  const uint32_t crc = crc32({reinterpret_cast<const uint8_t *>(old.data()) + 20, 4 + 2559});
  for (int i = 0; i < 4; ++i) old[16 + i] = static_cast<char>(crc >> (8 * i));
  write_file(path, old);
  int32_t repeat = 0;
  EXPECT_EQ(loaded_fill(path, &repeat), 0x11);
  EXPECT_EQ(repeat, 7);

  {
    auto r = record_of(0);
    SavedState st{r, 0};
    StateFile f(path);
    ASSERT_EQ(f.load(st).status, LoadStatus::Loaded);
    for (uint8_t fill = 1; fill <= 5; ++fill) ASSERT_EQ(f.save(record_of(fill), fill), "");
  }
  EXPECT_EQ(read_file(path).size(), 8192u);  // converted on the first save
  EXPECT_EQ(loaded_fill(path, &repeat), 5);
  EXPECT_EQ(repeat, 5);

  // A torn write of the newest slot (5, in the first slot) leaves the other.
  std::string bytes = read_file(path);
  bytes[100] ^= 0x5A;
  write_file(path, bytes);
  EXPECT_EQ(loaded_fill(path), 4);
  bytes[4096 + 100] ^= 0x5A;
  write_file(path, bytes);
  EXPECT_EQ(loaded_fill(path), -1);  // both damaged: refused, not guessed
}

TEST(StateFile, RefusesWhatIsNotAFileWithoutOpeningIt) {
  TempDir dir;
  const std::string fifo = dir.file("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string &path : {fifo, dir.path(), std::string("/dev/null")}) {
    EXPECT_NE(unusable_state_path(path), "") << path;
    EXPECT_EQ(loaded_fill(path), -1) << path;  // and without blocking
  }
}

}  // namespace
