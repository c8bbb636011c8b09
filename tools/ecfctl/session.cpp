#include "session.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "result_codes.h"

namespace ecfctl {

std::atomic<bool> g_interrupted{false};

namespace {

// The first signal lets the running printer operation end and stops after it;
// a second one ends the process at once.
extern "C" void on_signal(int sig) {
  if (g_interrupted.exchange(true)) {
    ::signal(sig, SIG_DFL);
    ::raise(sig);
    return;
  }
  static constexpr char kNotice[] =
      "\necfctl: stopping after the current printer call (signal again to stop at once)\n";
  ssize_t ignored = ::write(STDERR_FILENO, kNotice, sizeof kNotice - 1);
  (void)ignored;
}

}  // namespace

void install_signal_handlers() {
  struct sigaction sa {};
  sa.sa_handler = on_signal;
  // No SA_RESTART: a wait in progress returns early and finds the flag.
  sa.sa_flags = 0;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  // A file-size limit makes a save fail with EFBIG, reported, not kill us.
  ::signal(SIGXFSZ, SIG_IGN);
}

// ../lib beside ecfctl when the libraries are there (a build tree or a
// prefix install), else "" for the system's library path.
std::string program_lib_dir() {
  std::array<char, 4096> buf{};
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return "../lib";
  std::string exe(buf.data(), static_cast<size_t>(n));
  auto slash = exe.find_last_of('/');
  std::string dir = (slash == std::string::npos ? "." : exe.substr(0, slash)) + "/../lib";
  return ::access((dir + "/libecfbmtc.so.1").c_str(), F_OK) == 0 ? dir : std::string();
}

namespace {
constexpr long kDefaultSpeed = 115200;

}  // namespace

long speed_from_environment() {
  const char *text = std::getenv("ECF_SERIAL_SPEED");
  if (text == nullptr || *text == '\0') return kDefaultSpeed;
  char *end = nullptr;
  long v = std::strtol(text, &end, 10);
  return (*end == '\0' && v >= 50 && v <= 4000000) ? v : kDefaultSpeed;
}

// Prints the outcome of one operation; returns the exit code it stands for.
int report(const Session &s, std::string_view label, int r) {
  if (r == kInterrupted) {
    std::fprintf(stderr, "%.*s: not sent, interrupted\n", static_cast<int>(label.size()),
                 label.data());
    return kExitInterrupted;
  }
  if (r == kMissingOperation) {
    std::fprintf(stderr, "%.*s: not available in this driver\n", static_cast<int>(label.size()),
                 label.data());
    return kExitEnvironment;
  }
  if (r == 0) {
    if (!s.options().quiet) std::printf("%.*s: ok\n", static_cast<int>(label.size()), label.data());
    return kExitOk;
  }
  std::string_view meaning = result_meaning(s.ops(), r);
  std::fprintf(stderr, "%.*s: failed, result %d (%.*s)\n", static_cast<int>(label.size()),
               label.data(), r, static_cast<int>(meaning.size()), meaning.data());
  const Globals &g = s.globals();
  if (g.ultima_falha != nullptr && g.status_execucao != nullptr) {
    const std::string reason = refusal_reason(r, *g.ultima_falha, *g.status_execucao);
    if (!reason.empty()) std::fprintf(stderr, "  printer: %s\n", reason.c_str());
  }
  // The host kit says why the port did not open (empty when it did).
  using fn_text = const char *();
  auto *port_reason = reinterpret_cast<fn_text *>(s.symbol("nSERIALmotivo_falha"));
  const char *why = r == 36 && port_reason != nullptr ? port_reason() : nullptr;
  if (why != nullptr && *why != '\0') std::fprintf(stderr, "  port: %s\n", why);
  return kExitRefused;
}

std::string read_coo(Session &s) {
  const Ops &o = s.ops();
  const Globals &g = s.globals();
  if (o.le_parametro == nullptr || g.buffer_protocolo == nullptr || g.tam_resposta_ecf == nullptr)
    return {};
  if (s.call([&] { return o.le_parametro(6); }) != 0) return {};
  if (*g.buffer_protocolo == nullptr || *g.tam_resposta_ecf < 6) return {};
  return bcd_digits(*g.buffer_protocolo + 3, 3);
}

bool fiscal_receipt_open(int state) {
  return state == 3 || state == 6 || state == 7;
}

std::string bcd_digits(const unsigned char *p, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    out += static_cast<char>('0' + ((p[i] >> 4) & 0x0F));
    out += static_cast<char>('0' + (p[i] & 0x0F));
  }
  return out;
}

// Digit string with two implied decimals as "1234.56".
std::string as_money(std::string digits) {
  while (digits.size() < 3) digits.insert(digits.begin(), '0');
  return digits.substr(0, digits.size() - 2) + "." + digits.substr(digits.size() - 2);
}

std::string trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

namespace {

// Latin-1 C0h..FFh without their accents: the printer may keep a name typed
// with accents in plain letters.
constexpr std::string_view kPlainLetters =
    "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPsaaaaaaaceeeeiiiidnooooo/ouuuuypy";
static_assert(kPlainLetters.size() == 64);

int plain_lower(char c) {
  const auto b = static_cast<unsigned char>(c);
  return std::tolower(b >= 0xC0 ? static_cast<unsigned char>(kPlainLetters[b - 0xC0u]) : b);
}

}  // namespace

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (plain_lower(a[i]) != plain_lower(b[i])) return false;
  }
  return true;
}

}  // namespace ecfctl
