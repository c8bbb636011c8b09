// The README's result-code table and the driver's texts are one table: every
// row's meaning is the driver's text, and every code the driver explains has
// its row.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "ecfbmtc/transport.h"

namespace {

std::map<int, std::string> readme_meanings() {
  std::ifstream readme(ECF_SOURCE_DIR "/README.md");
  std::map<int, std::string> rows;
  const std::regex row(R"(^\| (\d+) \| ([^|]+) \|)");
  bool in_section = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("## ", 0) == 0) in_section = line == "## Result codes";
    std::smatch m;
    if (in_section && std::regex_search(line, m, row)) {
      std::string meaning = m[2];
      meaning.erase(meaning.find_last_not_of(' ') + 1);
      rows[std::stoi(m[1])] = meaning;
    }
  }
  return rows;
}

TEST(ResultTexts, ReadmeTableIsTheDriversTable) {
  const auto rows = readme_meanings();
  ASSERT_GT(rows.size(), 20u) << "no result-code table in README.md";
  for (int code = -2; code < 256; ++code) {
    const std::string text = ECFBMTCAUX_texto_resultado(code);
    const auto row = rows.find(code);
    EXPECT_EQ(text, row == rows.end() ? "unknown result code" : row->second)
        << "code " << code << (row == rows.end() ? " has no README row" : "");
  }
}

}  // namespace
