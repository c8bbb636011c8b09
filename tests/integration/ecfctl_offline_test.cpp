// ecfctl without a printer: its sale scripts through its command line, the
// UTF-8/Latin-1 conversion, and the two-slot state file.
#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>

#include <array>
#include <string>
#include <vector>

#include "latin1.h"
#include "sale_harness.h"
#include "state_file.h"

namespace {

using namespace ecfctl;
using namespace sale_test;

Output ecfctl(const TempDir &dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--state", dir.file("ecfctl.state")});
  return run(bin_dir() + "/ecfctl", args, dir.path());
}

// A script checked: what `check` prints for it, or the error naming the line
// refused.
struct ScriptCase {
  const char *script;
  const char *checked;  // null when refused
  const char *error = ":3: ";
};

TEST(SaleScript, CheckPrintsTheDriverArgumentsOrNamesTheRefusedLine) {
  // A payment's second text one character past its 40.
  const std::string long_texts =
      "pay 1 1.00 \"" + std::string(40, '0') + "\" \"" + std::string(41, '0') + "\"";
  const ScriptCase cases[] = {
      {"open", "open"},
      {"item 789 \"Arroz 5kg\" 01 2 21.90",
       "item code=\"789\" description=\"Arroz 5kg\" tax=\"01\" quantity=\"2000\" price=\"2190\""},
      {"item 789 Arroz 01 0,5 1,5", "quantity=\"500\" price=\"150\""},
      {"item 789 Arroz 01 1 1.234 decimals=3", "price=\"1234\" decimals=3"},
      {"item 789 Arroz 01 1 1.00 unit=KG line=\"Lote 7\"", "unit=\"KG\" line=\"Lote 7\""},
      {"item 789 Arroz 01 1 1.00 discount=0.10", "discount=\"10\""},
      {"discount 10%", "discount percent=\"1000\""},
      {"discount 6.28", "discount value=\"628\""},
      {"surcharge 0.5%", "surcharge percent=\"50\""},
      {"item-discount 3 1.00", "item-discount item=3 value=\"100\""},
      {"pay 2 40.00 \"Aut 1\"", "pay method=2 amount=\"4000\" text1=\"Aut 1\""},
      {"pay \"Cartao Credito\" 1", "pay method=\"Cartao Credito\" amount=\"100\""},
      {"consumer 123 \"Maria\" \"Rua 1\"",
       "consumer document=\"123\" name=\"Maria\" address=\"Rua 1\""},
      {"consumer -", "consumer forget"},
      {"promo \"say \\\"hi\\\"\"   # comment", "promo text=\"say \"hi\"\""},
      // Refused: widths the printer would cut, empty first lines that would
      // empty every stored line, malformed amounts.
      {"item 789 Arroz 011 1 1.00", nullptr},
      {"item 789 Arroz 01 1 1.001", nullptr},
      {"item 789 Arroz 01 1 100000.00", nullptr},
      {"item 789 Arroz 01 10000 1.00", nullptr},
      {"item 789 Arroz 01 -1 1.00", nullptr},
      {"item 123456789012345 Arroz 01 1 1.00", nullptr},
      {"item 789 Arroz 01 1 1.00 unit=K/", nullptr},
      {"item 789 Arroz 01 1 1.00 unit=KG discount=1", nullptr},
      {"item 789 Arroz 01 1 1.00 line=", nullptr},
      {"item 789 Arroz 01 1 1.00 colour=red", nullptr},
      {"line \"\"", nullptr},
      {"promo \"\"", nullptr},
      {"discount 100%", nullptr},
      {"discount 1e3", nullptr},
      {"item-discount 0 1.00", nullptr},
      {"item-discount 1000 1.00", nullptr},
      {"cancel-item 0", nullptr},
      {"pay 0 1.00", nullptr},
      {long_texts.c_str(), nullptr},
      {"consumer 0123456789012345678901234567890", nullptr},
      {"open now", nullptr},
      {"item 789 \"Arroz 01 1 1.00", nullptr},
      {"sell 1", nullptr},
      // Out of order; a script may go on from a receipt opened earlier.
      {"open\nitem 1 A 01 1 1.00\ntotal\npay 1 1.00\nclose", "7: close"},
      {"pay 1 1.00\npromo x\nclose\nopen", "6: open"},
      {"open\nitem 1 A 01 1 1.00\ntotal\npay 1 1.00\nitem 2 B 01 1 1.00", nullptr,
       "s.txt:7: item 2 B 01 1 1.00: after the total"},
      {"open\nitem 1 A 01 1 1.00\nclose", nullptr, "s.txt:5: close: before the total"},
      {"open\nitem 1 A 01 1 1.00\npay 1 1.00", nullptr, "s.txt:5: pay 1 1.00: before the total"},
      {"open\nitem 1 A 01 1 1.00\ntotal\nclose", nullptr, "s.txt:6: close: before any payment"},
      {"close\nitem 1 A 01 1 1.00", nullptr, "s.txt:4: item 1 A 01 1 1.00: no receipt open"},
      {"open\nopen", nullptr, "s.txt:4: open: open while a receipt is open"},
  };
  TempDir dir;
  for (const auto &c : cases) {
    write_file(dir.file("s.txt"), std::string("# a sale\n\n") + c.script + "\n");
    Output o = ecfctl(dir, {"check", dir.file("s.txt")});
    if (c.checked != nullptr) {
      EXPECT_EQ(o.exit_code, 0) << c.script << "\n" << o.err;
      EXPECT_NE(o.out.find("3: "), std::string::npos) << c.script << "\n" << o.out;
      EXPECT_NE(o.out.find(c.checked), std::string::npos) << c.script << "\n" << o.out;
    } else {
      EXPECT_EQ(o.exit_code, 2) << c.script << "\n" << o.out;
      EXPECT_NE(o.err.find(c.error), std::string::npos) << c.script << "\n" << o.err;
    }
  }
}

TEST(SaleScript, BadScriptOrOperationIsRefusedBeforeAnythingIsSent) {
  TempDir dir;
  // No device given: a script that reached the driver would fail otherwise.
  write_file(dir.file("s.txt"), "open\nitem 1 A 01 1 1.00\npay 1 abc\nclose\n");
  Output o = ecfctl(dir, {"sale", dir.file("s.txt")});
  EXPECT_EQ(o.exit_code, 2);
  EXPECT_NE(o.err.find("s.txt:3: amount \"abc\""), std::string::npos) << o.err;
  EXPECT_EQ(o.out, "");
  o = ecfctl(dir, {"item", "789", "Arroz", "011", "1", "1.00"});
  EXPECT_EQ(o.exit_code, 2);
  EXPECT_NE(o.err.find("tax must be 1 or 2 characters"), std::string::npos) << o.err;
  EXPECT_EQ(ecfctl(dir, {"frobnicate"}).exit_code, 2);
}

// A missing file is an empty record; a damaged or foreign one is not used,
// and left as it was for whoever looks into it.
TEST(StateFile, MissingFileIsEmptyDamagedOrForeignIsNotUsed) {
  const std::string cases[] = {"", "not a record", std::string(2583, '\0')};
  for (const auto &content : cases) {
    TempDir dir;
    if (!content.empty()) write_file(dir.file("ecfctl.state"), content);
    Output o = ecfctl(dir, {"state"});
    if (content.empty()) {
      ASSERT_EQ(o.exit_code, 0) << o.err;
      EXPECT_NE(o.out.find("document: 0 (none)"), std::string::npos) << o.out;
      EXPECT_NE(o.out.find("day: 0"), std::string::npos) << o.out;
      continue;
    }
    EXPECT_EQ(o.exit_code, 3) << o.out;
    EXPECT_NE(o.err.find("move it away"), std::string::npos) << o.err;
    EXPECT_EQ(read_file(dir.file("ecfctl.state")), content);
  }
}

TEST(StateFile, SecondEcfctlOnTheSameRecordIsRefused) {
  TempDir dir;
  int fd = ::open(dir.file("ecfctl.state.lock").c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  Output o = ecfctl(dir, {"state"});
  ::close(fd);
  EXPECT_EQ(o.exit_code, 3);
  EXPECT_NE(o.err.find("another ecfctl is using"), std::string::npos) << o.err;
}

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
