// Fiscal memory readings, the detail-tape download and the act file.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "registry.h"
#include "session.h"

extern char **environ;

namespace ecfctl {
namespace {

using CharFn = int (*)(int);
using ProgressFn = int (*)(const char *);
using SignFn = int (*)(const char *, const char *);

constexpr int kSignLimitS = 600;

// Options shared by the three commands; the rest are the positional words.
struct Words {
  std::vector<std::string> positional;
  bool print = false;
  bool simple = false;
  std::string out;
  std::string sign_command;
  std::string error;
};

Words parse_words(const std::vector<std::string> &args) {
  Words w;
  for (size_t i = 1; i < args.size(); ++i) {  // args[0] names the command
    const std::string &a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--print") {
      w.print = true;
    } else if (a == "--simple") {
      w.simple = true;
    } else if ((a == "--out" || a == "--sign-command") && has_value) {
      (a == "--out" ? w.out : w.sign_command) = args[++i];
    } else if (a.rfind("--", 0) == 0) {
      w.error = "unknown or incomplete option " + a;
    } else {
      w.positional.push_back(a);
    }
  }
  return w;
}

// ---- The signing program as the host's signing function ------------------

std::string g_sign_program;

long long now_ms() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Runs the program with the two names as its own arguments (no shell) and
// waits for it at most kSignLimitS; 0 when it exited with 0.
int sign_with_program(const char *source, const char *final_name) {
  const char *argv[] = {g_sign_program.c_str(), source, final_name, nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char *const *>(argv), environ) != 0)
    return -1;
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  const long long deadline = now_ms() + kSignLimitS * 1000LL;
  int status = 0;
  int result = -1;
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      result = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    const long long left = deadline - now_ms();
    if (r < 0) break;
    if (left <= 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    pollfd p{pidfd, POLLIN, 0};
    poll(&p, pidfd >= 0 ? 1 : 0, static_cast<int>(left < 100 ? left : 100));
  }
  if (pidfd >= 0) close(pidfd);
  return result;
}

// Installs the signing program, if any; false when the host kit lacks the hook.
bool install_signing(Session &s, const std::string &program) {
  if (program.empty()) return true;
  auto *hook = static_cast<SignFn *>(s.symbol("ECFIF_pfunc_assina_paf"));
  if (hook == nullptr) {
    std::fprintf(stderr, "ecfctl: the host kit has no signing hook\n");
    return false;
  }
  g_sign_program = program;
  *hook = sign_with_program;
  return true;
}

// ---- Streaming to stdout ----------------------------------------------------

bool g_show_progress = false;

int to_stdout(int c) {
  return std::putchar(static_cast<unsigned char>(c)) == EOF ? 1 : 0;
}

int show_progress(const char *text) {
  if (g_show_progress) std::fprintf(stderr, "\r%s", text);
  return 0;
}

template <typename F>
F *op(Session &s, const char *name) {
  return reinterpret_cast<F *>(s.symbol(name));
}

int outcome(Session &s, const char *label, int r, bool quiet_ok) {
  if (r == 0 && quiet_ok) {
    if (!s.options().quiet) std::fprintf(stderr, "%s: ok\n", label);
    return kExitOk;
  }
  return report(s, label, r);
}

int usage(const std::string &why) {
  std::fprintf(stderr, "ecfctl: %s\n", why.c_str());
  return kExitUsage;
}

// memory all | dates FROM TO | reductions FROM TO [--print] [--simple]
//        [--out FILE [--sign-command PROGRAM]]
int cmd_memory(Session &s, const std::vector<std::string> &args) {
  const Words w = parse_words(args);
  if (!w.error.empty()) return usage(w.error);
  const auto &p = w.positional;
  const bool all = p.size() == 1 && p[0] == "all";
  const bool dates = p.size() == 3 && p[0] == "dates";
  const bool reductions = p.size() == 3 && p[0] == "reductions";
  if (!all && !dates && !reductions)
    return usage("memory: all, dates FROM TO or reductions FROM TO");
  if (all && (w.print || !w.out.empty())) return usage("memory all streams to stdout only");
  if (!install_signing(s, w.sign_command)) return kExitEnvironment;
  const std::string range = all ? std::string() : p[1] + p[2];
  const int mode = w.simple ? 0 : 1;
  int r = kMissingOperation;
  if (w.print) {
    const char *name =
        dates ? (w.simple ? "ECFIF_mf_le_simpl_por_data" : "ECFIF_mf_le_por_data")
              : (w.simple ? "ECFIF_mf_le_simpl_por_reducoes" : "ECFIF_mf_le_por_reducoes");
    if (auto *f = op<int(const char *)>(s, name)) r = s.call([&] { return f(range.c_str()); });
    return outcome(s, "memory", r, false);
  }
  if (!w.out.empty()) {
    int zero = 0;
    auto *f = op<int(const char *, int *, const char *, int)>(
        s, dates ? "ECFIF_mf_em_arq_por_data" : "ECFIF_mf_em_arq_por_reducao");
    if (f) r = s.call([&] { return f(w.out.c_str(), &zero, range.c_str(), mode); });
    return outcome(s, "memory", r, false);
  }
  g_show_progress = !s.options().quiet;
  if (all) {
    if (auto *f = op<int(CharFn, ProgressFn)>(s, "ECFIF_mf_em_disco"))
      r = s.call([&] { return f(to_stdout, show_progress); });
  } else if (auto *f = op<int(CharFn, ProgressFn, const char *, int)>(
                 s, dates ? "ECFIF_mf_em_disco_por_data" : "ECFIF_mf_em_disco_por_reducao")) {
    r = s.call([&] { return f(to_stdout, show_progress, range.c_str(), mode); });
  }
  std::fflush(stdout);
  if (g_show_progress) std::fputc('\n', stderr);
  return outcome(s, "memory", r, true);
}

// tape coo|dates FROM TO FILE [--sign-command PROGRAM]
int cmd_tape(Session &s, const std::vector<std::string> &args) {
  const Words w = parse_words(args);
  if (!w.error.empty()) return usage(w.error);
  const auto &p = w.positional;
  if (p.size() != 4 || (p[0] != "coo" && p[0] != "dates"))
    return usage("tape: coo|dates FROM TO FILE");
  if (!install_signing(s, w.sign_command)) return kExitEnvironment;
  if (int r = s.ensure_configured(); r != 0) return report(s, "configuration", r);
  const std::string range = p[1] + p[2];
  int r = kMissingOperation;
  int zero = 0;
  if (auto *f = op<int(const char *, int *, const char *)>(
          s, p[0] == "coo" ? "ECFIF_mfd_em_arq_por_coo" : "ECFIF_mfd_em_arq_por_data"))
    r = s.call([&] { return f(p[3].c_str(), &zero, range.c_str()); });
  return outcome(s, "tape", r, false);
}

// act-file TYPE FILE
int cmd_act_file(Session &s, const std::vector<std::string> &args) {
  if (args.size() != 3) return usage("act-file TYPE FILE");
  if (int r = s.ensure_configured(); r != 0) return report(s, "configuration", r);
  struct Context {
    void *buffer;
    int size;
  } context{nullptr, 0};
  auto *start = op<int(Context *, int)>(s, "ECFIF_atocotepe_inicia");
  auto *make = op<int(Context *, const char *, const char *, int)>(s, "ECFIF_atocotepe_gera");
  auto *end = op<int(Context *)>(s, "ECFIF_atocotepe_termina");
  if (!start || !make || !end) return report(s, "act-file", kMissingOperation);
  int r = start(&context, 0);
  if (r == 0) r = s.call([&] { return make(&context, args[1].c_str(), args[2].c_str(), 0); });
  end(&context);
  return outcome(s, "act-file", r, false);
}

const Registrar kMemory{{
    {"memory",
     "memory all|dates D1 D2|reductions N1 N2 [--print] [--simple] [--out FILE "
     "[--sign-command PROGRAM]]\n"
     "                       fiscal memory reading: printed, streamed to stdout, or to FILE",
     cmd_memory},
    {"tape",
     "tape coo|dates FROM TO FILE [--sign-command PROGRAM]\n"
     "                       detail-tape download (./LinuxMFD and the converter run here)",
     cmd_tape},
    {"act-file", "act-file TYPE FILE    act file record E06 E07 E08 E10 E11 E17 or E18",
     cmd_act_file},
}};

}  // namespace
}  // namespace ecfctl
