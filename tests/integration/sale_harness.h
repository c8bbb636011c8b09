// Helpers of the integration tests: the emulator on a pseudo-terminal, ecfctl
// runs as separate processes, and waits that end on a deadline (never a fixed
// sleep).
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern char **environ;

namespace sale_test {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

inline std::string bin_dir() {
  return ECF_BIN_DIR;
}

inline std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void write_file(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline size_t count_of(const std::string &haystack, const std::string &needle) {
  size_t n = 0;
  for (size_t p = haystack.find(needle); p != std::string::npos;
       p = haystack.find(needle, p + needle.size()))
    ++n;
  return n;
}

class TempDir {
 public:
  TempDir() {
    std::string tmpl = "/tmp/ecfsale.XXXXXX";
    if (::mkdtemp(tmpl.data()) != nullptr) path_ = tmpl;
  }
  ~TempDir() {
    if (!path_.empty()) std::filesystem::remove_all(path_);
  }
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
  const std::string &path() const { return path_; }
  std::string file(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A printer model as ecfsim takes it, the protocol spoken, and whether it is
// one with a detail tape (MFD).
struct Printer {
  const char *name, *model, *protocol;
  bool mfd;
};
inline std::string name_of(const ::testing::TestParamInfo<Printer> &info) {
  return info.param.name;
}

struct Output {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// A program started in the background; its output goes to files in memory,
// read whenever asked, so a child that outlives it cannot hold a wait open.
class Process {
 public:
  Process(const std::string &program, std::vector<std::string> args, const std::string &cwd) {
    for (int &fd : fds_) fd = ::memfd_create("output", MFD_CLOEXEC);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds_[0], 1);
    posix_spawn_file_actions_adddup2(&fa, fds_[1], 2);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
    args.insert(args.begin(), program);
    std::vector<char *> argv;
    for (auto &a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, program.c_str(), &fa, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&fa);
  }
  // SIGTERM first: the emulator keeps the printer's memory for the next one.
  ~Process() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      if (!wait(Clock::now() + 5s)) finish(Clock::now());
    }
    for (int fd : fds_) ::close(fd);
  }
  Process(const Process &) = delete;
  Process &operator=(const Process &) = delete;

  void signal(int sig) const {
    if (pid_ > 0) ::kill(pid_, sig);
  }
  std::string out() const { return contents(fds_[0]); }
  std::string err() const { return contents(fds_[1]); }

  // Waits for the end until the deadline; a process still running then is
  // killed (exit code -1).
  Output finish(Clock::time_point deadline) {
    if (pid_ > 0 && !wait(deadline)) {
      ::kill(pid_, SIGKILL);
      wait(Clock::now() + 5s);
      status_ = -1;
    }
    return {status_, out(), err()};
  }

 private:
  static std::string contents(int fd) {
    std::string s;
    char buf[4096];
    for (ssize_t n; (n = ::pread(fd, buf, sizeof buf, static_cast<off_t>(s.size()))) > 0;)
      s.append(buf, static_cast<size_t>(n));
    return s;
  }

  // True when it ended before the deadline; its exit code is then kept.
  bool wait(Clock::time_point deadline) {
    int status = 0;
    for (; ::waitpid(pid_, &status, WNOHANG) != pid_; ::poll(nullptr, 0, 1)) {
      if (Clock::now() >= deadline) return false;
    }
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return true;
  }

  pid_t pid_ = -1;
  int status_ = -1;
  int fds_[2] = {-1, -1};
};

// Runs a program to its end (or the deadline), in `cwd`, and collects its output.
inline Output run(const std::string &program, std::vector<std::string> args, const std::string &cwd,
                  std::chrono::seconds limit = 60s) {
  return Process(program, std::move(args), cwd).finish(Clock::now() + limit);
}

// A till and its printer: the emulator on a pseudo-terminal, its paper and
// memory in a scratch folder, and ecfctl runs on one state file, each a new
// process, as a till that restarts between operations.
template <class Base = ::testing::Test>
class TillTest : public Base {
 protected:
  // A new emulator process on the same printer memory and paper roll, with
  // printer_ and `args`; true once it names its device (within 10 s).
  bool start(std::vector<std::string> args) {
    emulator_.reset();
    args.insert(args.begin(), printer_.begin(), printer_.end());
    args.insert(args.end(),
                {"--paper", dir_.file("paper.txt"), "--state", dir_.file("printer.state")});
    emulator_ = std::make_unique<Process>(bin_dir() + "/ecfsim", args, dir_.path());
    device_.clear();
    for (const auto deadline = Clock::now() + 10s; Clock::now() < deadline;
         ::poll(nullptr, 0, 10)) {
      const std::string out = emulator_->out();
      if (const auto nl = out.find('\n'); nl != std::string::npos) {
        device_ = out.substr(0, nl);
        break;
      }
    }
    return !device_.empty();
  }

  // The printer, the state file and the driver's log, then options_ and `args`.
  std::vector<std::string> with_options(const std::vector<std::string> &args) const {
    std::vector<std::string> all = {"--device", device_, "--state", dir_.file("ecfctl.state")};
    all.insert(all.end(), {"--log-file", dir_.file("driver.log"), "--log-mode", "3"});
    all.insert(all.end(), options_.begin(), options_.end());
    all.insert(all.end(), args.begin(), args.end());
    return all;
  }
  Output ecfctl(const std::vector<std::string> &args, std::chrono::seconds limit = 180s) const {
    return run(bin_dir() + "/ecfctl", with_options(args), dir_.path(), limit);
  }

  // The two payment methods the sales use, whatever the printer starts with.
  bool add_methods() const {
    const std::string methods = ecfctl({"methods"}).out;
    for (const char *m : {"Dinheiro", "Cartao Credito"}) {
      if (methods.find(m) == std::string::npos && ecfctl({"add-method", m}).exit_code != 0)
        return false;
    }
    return true;
  }

  std::string script(const std::string &text) const {
    write_file(dir_.file("s.txt"), text);
    return dir_.file("s.txt");
  }
  std::string paper() const { return read_file(dir_.file("paper.txt")); }
  size_t printed(const std::string &text) const { return count_of(paper(), text); }
  bool wait_for_paper(const std::string &text, std::chrono::seconds limit) const {
    for (const auto deadline = Clock::now() + limit; printed(text) == 0; ::poll(nullptr, 0, 10)) {
      if (Clock::now() > deadline) return false;
    }
    return true;
  }
  std::string log() const {
    return (emulator_ ? emulator_->err() : "") + "\n--- driver log ---\n" +
           read_file(dir_.file("driver.log"));
  }

  TempDir dir_;
  std::vector<std::string> printer_;  // ecfsim's model and line
  std::vector<std::string> options_;  // ecfctl's, after the fixture's own
  std::unique_ptr<Process> emulator_;
  std::string device_;
};

}  // namespace sale_test
