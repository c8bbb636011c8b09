// Fiscal memory readings: the command sent, the texts refused, the streaming
// rules, the exports to a file and their failures.
#include <functional>

#include "core/files.h"
#include "memory/memory_fixture.h"

namespace ecftest {
namespace {

// What the host's functions received.
std::string g_chars;
std::vector<std::string> g_progress;
int g_stop_at = -1;  // the character function stops at this count

int collect_char(int c) {
  g_chars.push_back(static_cast<char>(c));
  return static_cast<int>(g_chars.size()) == g_stop_at ? 1 : 0;
}
int collect_progress(const char *t) {
  g_progress.emplace_back(t);
  return 0;
}
int stop_progress(const char *) {
  return 1;
}

class MemoryReadingTest : public MemoryTest {
 protected:
  void SetUp() override {
    MemoryTest::SetUp();
    g_chars.clear();
    g_progress.clear();
    g_stop_at = -1;
  }
};

TEST_F(MemoryReadingTest, PrintedAndStreamedReadingsSendTheRangeAndLetter) {
  struct Case {
    std::function<int()> call;
    std::string args;
  };
  const Case cases[] = {
      {[] { return ECFIF_mf_le_por_reducoes("00120015"); }, "000012000015I"},
      {[] { return ECFIF_mf_le_simpl_por_reducoes("001200159"); }, "000012000015i"},
      {[] { return ECFIF_mf_le_por_data("010126310126"); }, "010126310126I"},
      {[] { return ECFIF_mf_le_simpl_por_data("010126310126"); }, "010126310126i"},
      {[] { return ECFIF_mf_em_disco_por_data(collect_char, nullptr, "010126310126", 1); },
       "010126310126R"},
      {[] { return ECFIF_mf_em_disco_por_data(collect_char, nullptr, "010126310126", 0); },
       "010126310126r"},
      {[] { return ECFIF_mf_em_disco_por_reducao(nullptr, collect_progress, "00010002", 1); },
       "000001000002R"},
      {[] { return ECFIF_mf_em_disco(collect_char, nullptr); }, "000000009999R"},
  };
  for (const Case &c : cases) {
    reset();
    // Only a streamed reading ends with 03h.
    const bool streamed = c.args.back() == 'R';
    expect(frame_of(8, Bytes(c.args.begin(), c.args.end())),
           streamed ? Answer{0x06, 0x00, 0x00, 0x03} : Answer{0x06, 0x00, 0x00});
    EXPECT_EQ(c.call(), 0) << c.args;
    EXPECT_TRUE(mismatches().empty()) << c.args;
  }
}

TEST_F(MemoryReadingTest, TextsThatAreNoRangeAreRefusedBeforeAnythingRuns) {
  write("final.txt", "the host's old export");
  int zero = 7;
  using Entry = std::function<int(const char *)>;
  const Entry by_date[] = {
      ECFIF_mf_le_por_data,
      ECFIF_mf_le_simpl_por_data,
      [](const char *t) { return ECFIF_mf_em_disco_por_data(collect_char, nullptr, t, 1); },
      [](const char *t) { return BMTCLOCAL_mf_em_disco_por_data(t, 1); },
      [&](const char *t) { return ECFIF_mf_em_arq_por_data("final.txt", &zero, t, 1); },
      [&](const char *t) { return ECFIF_mfd_em_arq_por_data("final.txt", &zero, t); },
  };
  const Entry by_number[] = {
      ECFIF_mf_le_por_reducoes,
      ECFIF_mf_le_simpl_por_reducoes,
      [](const char *t) { return ECFIF_mf_em_disco_por_reducao(collect_char, nullptr, t, 1); },
      [](const char *t) { return BMTCLOCAL_mf_em_disco_por_reducao(t, 1); },
      [&](const char *t) { return ECFIF_mf_em_arq_por_reducao("final.txt", &zero, t, 1); },
      [&](const char *t) { return ECFIF_mfd_em_arq_por_coo("final.txt", &zero, t); },
      [&](const char *t) { return ECFIF_mfd_em_arq_por_coo_com_refer("final.txt", &zero, t, t); },
  };
  const char *texts[] = {nullptr,        "0101263",       "0101x6310126", ";touch x;aaaa",
                         "$(touch x)00", "0101\n6310126", "`touch x`000"};
  const char *bad_dates[] = {"320126310126", "010126301326", "290225010325"};
  for (const Entry &e : by_date) {
    for (const char *t : texts) EXPECT_EQ(e(t), 2) << (t ? t : "(null)");
    for (const char *t : bad_dates) EXPECT_EQ(e(t), 2) << t;
  }
  for (const Entry &e : by_number)
    for (const char *t : texts) EXPECT_EQ(e(t), 2) << (t ? t : "(null)");
  EXPECT_TRUE(transmitted().empty());
  EXPECT_FALSE(exists("x"));
  EXPECT_FALSE(exists("GER_LEIT.TXT"));
  EXPECT_EQ(read_file("final.txt"), "the host's old export");
  EXPECT_EQ(ECFIF_mf_em_disco(nullptr, nullptr), 2);
  EXPECT_EQ(ECFIF_assina_paf(nullptr, "final.txt"), 2);
}

TEST_F(MemoryReadingTest, StreamedLinesAreTranslatedCountedAndEnded) {
  for (bool ext : {false, true}) {
    reset();
    g_chars.clear();
    g_progress.clear();
    ECFBMTCAUX_modo_protocolo = ext ? 1 : 0;
    Answer a = ext ? Answer({0x06, 0x00, 0x00, 0x00, 0x00}) : Answer({0x06, 0x00, 0x00});
    on_frame(a.add({'a', 171, '\n', 'b', 177, 178, 181, '\n', 'c', 0x03}));
    EXPECT_EQ(ECFIF_mf_em_disco_por_reducao(collect_char, collect_progress, "00010002", 1), 0);
    EXPECT_EQ(g_chars, "aA\nbOOC\nc\nFim da leitura da MF.\n");
    EXPECT_EQ(g_progress, (std::vector<std::string>{"Linhas:        0", "Linhas:        1",
                                                    "Linhas:        2"}));
    EXPECT_EQ(BMTCLOCAL_chamou_em_disco, 0);
  }
  // The whole memory ends with its own message.
  reset();
  g_chars.clear();
  on_frame(Answer({0x06, 0x00, 0x00}).add("x\n").add({0x03}));
  EXPECT_EQ(ECFIF_mf_em_disco(collect_char, nullptr), 0);
  EXPECT_EQ(g_chars, "x\n\nFim da leitura da Memoria.\n");
}

TEST_F(MemoryReadingTest, AFunctionAskingToStopEndsTheReadingWith45) {
  g_stop_at = 2;
  on_frame(Answer({0x06, 0x00, 0x00}).add("abc\ndef\n").add({0x03}));
  EXPECT_EQ(ECFIF_mf_em_disco_por_reducao(collect_char, nullptr, "00010002", 1), 45);
  EXPECT_EQ(g_chars, "ab");
  reset();
  on_frame(Answer({0x06, 0x00, 0x00}).add("abc\n").add({0x03}));
  EXPECT_EQ(ECFIF_mf_em_disco_por_reducao(nullptr, stop_progress, "00010002", 1), 45);
  EXPECT_EQ(BMTCLOCAL_chamou_em_disco, 0);
}

// A printer that streams without end.
class EndlessStream : public LinePeer {
 public:
  explicit EndlessStream(std::int64_t gap_ms) : gap_ms_(gap_ms) {}
  void from_driver(std::uint8_t, std::int64_t now) override { next_ = now; }
  int to_driver(std::int64_t now) override {
    if (next_ < 0 || now < next_) return -1;
    if (++sent_ > 3) next_ = now + gap_ms_;
    if (sent_ == 1) return 0x06;
    if (sent_ <= 3) return 0x00;
    return sent_ % 80 == 0 ? '\n' : 'x';
  }
  long sent_ = 0;

 private:
  std::int64_t gap_ms_;
  std::int64_t next_ = -1;  // silent until it hears a frame
};

TEST_F(MemoryReadingTest, AStreamWithoutEndIsGivenUpOn) {
  // Fast: the size bound.
  EndlessStream fast(0);
  set_peer(&fast);
  EXPECT_EQ(ECFIF_mf_em_disco_por_reducao(nullptr, collect_progress, "00010002", 1), 37);
  EXPECT_GT(fast.sent_, 16L * 1024 * 1024);
  EXPECT_LT(fast.sent_, 17L * 1024 * 1024);
  // Slow, a byte every 20 s: the time bound.
  reset();
  set_tick_ms(1000);
  EndlessStream slow(20000);
  set_peer(&slow);
  const std::int64_t start = now_ms();
  EXPECT_EQ(ECFIF_mf_em_disco_por_reducao(nullptr, collect_progress, "00010002", 1), 37);
  EXPECT_NEAR(static_cast<double>(now_ms() - start), 6 * 3600 * 1000.0, 60000.0);
}

TEST_F(MemoryReadingTest, ExportWritesTheReadingThenRenamesOrSigns) {
  // A line of any length, without a line feed, arrives whole.
  const std::string long_line(5000, 'a');
  on_frame(Answer({0x06, 0x00, 0x00}).add(long_line).add({0x03}));
  int zero = 9;
  EXPECT_EQ(ECFIF_mf_em_arq_por_reducao("final.txt", &zero, "00010002", 1), 0);
  EXPECT_EQ(zero, 0);
  EXPECT_EQ(read_file("final.txt"), long_line + "\nFim da leitura da MF.\n");
  EXPECT_FALSE(exists("GER_LEIT.TXT"));

  // With the host's signing function.
  static std::vector<std::string> signed_names;
  ECFIF_pfunc_assina_paf = [](const char *de, const char *para) {
    signed_names = {de, para};
    return 1;
  };
  ECFLOG_modo = 1;
  on_frame(Answer({0x06, 0x00, 0x00}).add("z\n").add({0x03}));
  EXPECT_EQ(ECFIF_mf_em_arq_por_data("final.txt", nullptr, "010126020126", 0), 4);
  EXPECT_EQ(signed_names, (std::vector<std::string>{"GER_LEIT.TXT", "final.txt"}));
  EXPECT_TRUE(log_has("mf_em_arq_por_data(GER_LEIT.TXT,010126020126,0)=0."));
  EXPECT_TRUE(log_has("gera_assinatura(final.txt)=1."));
}

TEST_F(MemoryReadingTest, ExportFailuresAreReported) {
  namespace arq = ecf::core::arquivos;
  struct Case {
    // 1 removes the final file, 2 creates GER_LEIT.TXT, 3 and 4 write, 5 renames
    int failing_operation;
    int result;
  };
  ECFLOG_modo = 1;
  for (const Case &c : {Case{2, 81}, Case{3, 45}, Case{5, 4}}) {
    reset();
    ECFLOG_modo = 1;
    on_frame(Answer({0x06, 0x00, 0x00}).add("z\n").add({0x03}));
    arq::falha_na_operacao(c.failing_operation);
    EXPECT_EQ(ECFIF_mf_em_arq_por_reducao("final.txt", nullptr, "00010002", 1), c.result);
    EXPECT_FALSE(exists("final.txt"));
    arq::falha_na_operacao(0);
  }
  EXPECT_TRUE(log_has("assina_paf(): falhou ao renomear arquivo."));
}

TEST_F(MemoryReadingTest, FixedAnswersAndTheFreeDay) {
  EXPECT_EQ(ECFIF_mf_aborta_leitura(), 15);
  EXPECT_EQ(ECFIF_mf_estat(), 0);
  EXPECT_EQ(ECFIF_mfd_em_disco_por_coo(), 15);
  EXPECT_EQ(ECFIF_mfd_em_disco_por_data(), 15);
  EXPECT_TRUE(transmitted().empty());
  for (int flags : {0x80, 0x01}) {
    reset();
    on_frame({0x06, flags, 0x00, 0x00});
    EXPECT_EQ(ECFIF_mf_dia_livre(), flags == 0x80 ? 5 : 0);
  }
  reset();
  ECFLOG_modo = 1;
  set_default_answer({0x06, 0x00, 0x08, 0x01});
  EXPECT_EQ(ECFIF_mf_dia_livre(), 0);
  ASSERT_FALSE(log_lines().empty());
  EXPECT_EQ(log_lines().back().rfind("mf_dia_livre()="), 0u);
  EXPECT_NE(log_lines().back().find(", tratado como OK."), std::string::npos);
}

}  // namespace
}  // namespace ecftest
