#include "demo_sale.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace bench {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto program_deadline = std::chrono::seconds(60);

constexpr const char *payment_file = R"([FORMAS DE PAGAMENTO]
01=Dinheiro
02=Cartao Credito
)";

// A child whose standard output comes back on a pipe.
struct Child {
  pid_t pid = -1;
  int out = -1;
};

Child start(const std::vector<std::string> &argv, const fs::path &dir) {
  int p[2];
  if (pipe2(p, O_CLOEXEC) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(p[1], STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    if (chdir(dir.c_str()) != 0) _exit(127);
    std::vector<char *> args;
    for (const auto &a : argv) args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(p[1]);
  if (pid < 0) {
    close(p[0]);
    return {};
  }
  return {pid, p[0]};
}

// Reads what the child prints until `enough` says so or the pipe closes,
// within the deadline.
template <typename Enough>
std::string read_output(int fd, Enough enough) {
  std::string text;
  const auto end = Clock::now() + program_deadline;
  while (!enough(text) && Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 1000) <= 0) continue;
    char buf[4096];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  return text;
}

int finish(Child &c) {
  if (c.out >= 0) close(c.out);
  int status = 0;
  // The pipe has closed or the deadline passed: the child ends now.
  for (int i = 0; i < 100 && waitpid(c.pid, &status, WNOHANG) == 0; ++i) usleep(50000);
  if (waitpid(c.pid, &status, WNOHANG) == 0) {
    kill(c.pid, SIGKILL);
    waitpid(c.pid, &status, 0);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::optional<std::string> run(const std::vector<std::string> &argv, const fs::path &dir) {
  Child c = start(argv, dir);
  if (c.pid < 0) return std::nullopt;
  std::string out = read_output(c.out, [](const std::string &) { return false; });
  if (finish(c) != 0) return std::nullopt;
  return out;
}

// "sale: COO 000123, paid 60.00, 1.234 s (wire 0.456 s: ...)"
std::optional<SaleRun> parse_sale(const std::string &out) {
  const auto at = out.find("sale: COO ");
  if (at == std::string::npos) return std::nullopt;
  const std::string line = out.substr(at, out.find('\n', at) - at);
  const auto secs_end = line.find(" s (wire ");
  const auto secs_start = line.rfind(", ", secs_end);
  if (secs_end == std::string::npos || secs_start == std::string::npos) return std::nullopt;
  SaleRun r;
  r.seconds = std::atof(line.substr(secs_start + 2, secs_end - secs_start - 2).c_str());
  r.wire_seconds = std::atof(line.substr(secs_end + 9).c_str());
  if (r.seconds <= 0 || r.wire_seconds <= 0) return std::nullopt;
  return r;
}

}  // namespace

std::vector<SaleRun> demo_sales(const std::string &where, long baud, int sales) {
  std::string tmpl = (fs::absolute(where) / "ecfbench.XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) {
    std::perror("mkdtemp");
    return {};
  }
  const fs::path dir = tmpl;
  std::ofstream(dir / "BMTCFPAG.CFG") << payment_file;
  std::error_code copy_error;
  fs::copy_file(DEMO_SALE_SCRIPT, dir / "demo.sale", copy_error);
  if (copy_error) {
    std::fprintf(stderr, "demo sale: %s: %s\n", DEMO_SALE_SCRIPT, copy_error.message().c_str());
    return {};
  }

  std::vector<SaleRun> runs;
  Child sim = start({ECFSIM_PROGRAM, "--model", "MP-4000 TH FI", "--baud", std::to_string(baud),
                     "--paper", (dir / "paper.txt").string()},
                    dir);
  const std::string first =
      read_output(sim.out, [](const std::string &t) { return t.find('\n') != std::string::npos; });
  const std::string terminal = first.substr(0, first.find('\n'));
  const std::vector<std::string> ecfctl{ECFCTL_PROGRAM,
                                        "--device",
                                        terminal,
                                        "--speed",
                                        std::to_string(baud),
                                        "--state",
                                        (dir / "ecfctl.state").string(),
                                        "--quiet"};
  auto with = [&](std::vector<std::string> args) {
    std::vector<std::string> all = ecfctl;
    all.insert(all.end(), args.begin(), args.end());
    return all;
  };
  if (terminal.empty() || !run(with({"config"}), dir)) {
    std::fprintf(stderr, "demo sale: the emulated printer was not identified\n");
  } else if (!run(with({"open-day"}), dir) && (!run(with({"add-method", "Dinheiro"}), dir) ||
                                               !run(with({"add-method", "Cartao Credito"}), dir))) {
    std::fprintf(stderr, "demo sale: the day could not be prepared\n");
  } else {
    for (int i = 0; i < sales; ++i) {
      const auto out = run(with({"sale", "demo.sale"}), dir);
      const auto r = out ? parse_sale(*out) : std::nullopt;
      if (!r) {
        std::fprintf(stderr, "demo sale: sale %d failed\n", i + 1);
        runs.clear();
        break;
      }
      runs.push_back(*r);
    }
  }
  if (sim.pid > 0) {
    kill(sim.pid, SIGTERM);
    finish(sim);
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return runs;
}

}  // namespace bench
