// Helpers of the sale integration tests: the emulator on a pseudo-terminal,
// ecfctl runs as separate processes, and waits that end on a deadline (never a
// fixed sleep).
#pragma once

#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
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
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void write_file(const std::string &path, const std::string &text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
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
    if (path_.empty()) return;
    ::nftw(
        path_.c_str(),
        [](const char *p, const struct stat *, int, struct FTW *) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
  }
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
  const std::string &path() const { return path_; }
  std::string file(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Waits for a child to end until the deadline; true when it ended (status set).
inline bool wait_child(pid_t pid, Clock::time_point deadline, int &status) {
  int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  for (;;) {
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      if (pidfd >= 0) ::close(pidfd);
      return true;
    }
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      if (pidfd >= 0) ::close(pidfd);
      return false;
    }
    if (pidfd >= 0) {
      pollfd p{pidfd, POLLIN, 0};
      ::poll(&p, 1, static_cast<int>(left));
    } else {
      ::poll(nullptr, 0, 5);
    }
  }
}

inline void stop_child(pid_t pid) {
  int status = 0;
  ::kill(pid, SIGTERM);
  if (!wait_child(pid, Clock::now() + 5s, status)) {
    ::kill(pid, SIGKILL);
    wait_child(pid, Clock::now() + 5s, status);
  }
}

struct Output {
  int exit_code = -1;
  bool timed_out = false;
  std::string out;
  std::string err;
};

inline std::vector<char *> argv_of(std::vector<std::string> &args) {
  std::vector<char *> v;
  for (auto &a : args) v.push_back(a.data());
  v.push_back(nullptr);
  return v;
}

// A program started in the background with its output on pipes.
class Process {
 public:
  Process(const std::string &program, std::vector<std::string> args, const std::string &cwd) {
    int out_pipe[2], err_pipe[2];
    if (::pipe2(out_pipe, O_CLOEXEC) != 0) return;
    if (::pipe2(err_pipe, O_CLOEXEC) != 0) {
      ::close(out_pipe[0]);
      ::close(out_pipe[1]);
      return;
    }
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out_pipe[1], 1);
    posix_spawn_file_actions_adddup2(&fa, err_pipe[1], 2);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
    args.insert(args.begin(), program);
    auto argv = argv_of(args);
    int rc = ::posix_spawn(&pid_, program.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    if (rc != 0) {
      ::close(out_pipe[0]);
      ::close(err_pipe[0]);
      pid_ = -1;
      out_.err = std::string("cannot start ") + program + ": " + std::strerror(rc);
      return;
    }
    fds_[0] = out_pipe[0];
    fds_[1] = err_pipe[0];
  }

  ~Process() {
    for (int &f : fds_) {
      if (f >= 0) ::close(f);
    }
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      wait_child(pid_, Clock::now() + 5s, status);
    }
  }
  Process(const Process &) = delete;
  Process &operator=(const Process &) = delete;

  pid_t pid() const { return pid_; }
  void signal(int sig) const {
    if (pid_ > 0) ::kill(pid_, sig);
  }

  // Collects the output until both pipes close, then the exit status, all
  // before the deadline; a process still running then is killed.
  Output finish(Clock::time_point deadline) {
    if (pid_ <= 0) return out_;
    pollfd fds[2] = {{fds_[0], POLLIN, 0}, {fds_[1], POLLIN, 0}};
    std::string *sinks[2] = {&out_.out, &out_.err};
    int open_fds = 2;
    while (open_fds > 0) {
      auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) break;
      if (::poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR) break;
      for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || fds[i].revents == 0) continue;
        char buf[4096];
        ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
        if (n > 0) {
          sinks[i]->append(buf, static_cast<size_t>(n));
        } else {
          ::close(fds[i].fd);
          fds[i].fd = -1;
          fds_[i] = -1;
          --open_fds;
        }
      }
    }
    int status = 0;
    if (!wait_child(pid_, deadline, status)) {
      out_.timed_out = true;
      ::kill(pid_, SIGKILL);
      wait_child(pid_, Clock::now() + 5s, status);
    } else {
      out_.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    pid_ = -1;
    return out_;
  }

 private:
  pid_t pid_ = -1;
  int fds_[2] = {-1, -1};
  Output out_;
};

// Runs a program to its end (or the deadline), in `cwd`, and collects its output.
inline Output run(const std::string &program, std::vector<std::string> args, const std::string &cwd,
                  std::chrono::seconds limit = 60s) {
  Process p(program, std::move(args), cwd);
  return p.finish(Clock::now() + limit);
}

// The emulator serving a pseudo-terminal, with its paper in a file.
class Emulator {
 public:
  Emulator(const TempDir &dir, std::vector<std::string> args)
      : paper_(dir.file("paper.txt")),
        out_path_(dir.file("ecfsim.out")),
        err_path_(dir.file("ecfsim.err")),
        args_(std::move(args)) {
    args_.insert(args_.end(), {"--paper", paper_, "--state", dir.file("printer.state")});
  }

  ~Emulator() { stop(); }
  Emulator(const Emulator &) = delete;
  Emulator &operator=(const Emulator &) = delete;

  // Starts it and waits (up to 10 s) for the line naming its device.
  bool start() {
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, out_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    std::vector<std::string> args = args_;
    const std::string program = bin_dir() + "/ecfsim";
    args.insert(args.begin(), program);
    auto argv = argv_of(args);
    const int rc = ::posix_spawn(&pid_, program.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) {
      pid_ = -1;
      return false;
    }
    const auto deadline = Clock::now() + 10s;
    int status = 0;
    for (std::string out; Clock::now() < deadline; ::poll(nullptr, 0, 10)) {
      out = read_file(out_path_);
      if (const auto nl = out.find('\n'); nl != std::string::npos) {
        device_ = out.substr(0, nl);
        return !device_.empty();
      }
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
      }
    }
    return false;
  }

  void stop() {
    if (pid_ > 0) stop_child(pid_);
    pid_ = -1;
  }

  const std::string &device() const { return device_; }
  std::string paper() const { return read_file(paper_); }
  std::string messages() const { return read_file(err_path_); }

  // Waits until the paper holds `text` `times` times, up to the deadline.
  bool wait_for_paper(const std::string &text, size_t times, std::chrono::seconds limit) const {
    auto deadline = Clock::now() + limit;
    while (count_of(paper(), text) < times) {
      if (Clock::now() > deadline) return false;
      ::poll(nullptr, 0, 10);
    }
    return true;
  }

 private:
  std::string paper_, out_path_, err_path_;
  std::vector<std::string> args_;
  pid_t pid_ = -1;
  std::string device_;
};

}  // namespace sale_test
