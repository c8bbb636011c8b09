// Runs the ecfsim program for tests: its terminal, its output, its stop.
// Every wait is a poll with a deadline.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ecfsim::test {

using Clock = std::chrono::steady_clock;
inline constexpr std::chrono::milliseconds kDeadline{10000};

// The program's command line: through the build's emulator when it has one.
inline std::vector<std::string> program_argv(const std::vector<std::string> &args) {
  std::vector<std::string> all;
#ifdef ECFSIM_LAUNCHER
  all.push_back(ECFSIM_LAUNCHER);
#endif
  all.push_back(ECFSIM_PROGRAM);
  all.insert(all.end(), args.begin(), args.end());
  return all;
}

// Starts the program with its standard output (and error, if asked) on a
// pipe; gives the pid, or -1, and the pipe's read end in `out`.
inline pid_t spawn(const std::vector<std::string> &args, bool with_stderr, int &out) {
  int pipefd[2];
  if (::pipe2(pipefd, O_CLOEXEC) != 0) return -1;
  std::vector<std::string> all = program_argv(args);
  std::vector<char *> argv;
  for (std::string &a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipefd[1], 1);
    if (with_stderr) ::dup2(pipefd[1], 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipefd[1]);
  out = pipefd[0];
  return pid;
}

inline int remaining_ms(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Reads from `fd` until `want` bytes, end of file or the deadline.
inline std::string read_some(int fd, size_t want, Clock::time_point deadline) {
  std::string got;
  while (got.size() < want) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, remaining_ms(deadline)) <= 0) break;
    char buf[512];
    const ssize_t n = ::read(fd, buf, std::min(sizeof buf, want - got.size()));
    if (n <= 0) break;
    got.append(buf, static_cast<size_t>(n));
  }
  return got;
}

// Reads `fd` to its end; false when the deadline comes first.
inline bool read_to_end(int fd, std::string &out, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, remaining_ms(deadline)) <= 0) return false;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) return true;
    if (n < 0) return false;
    out.append(buf, static_cast<size_t>(n));
  }
}

// Reaps `pid` once its output has ended (it is exiting); kills it otherwise.
inline int reap(pid_t pid, bool output_ended) {
  int status = 0;
  if (!output_ended) ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  if (!output_ended) return -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

// A scratch folder removed at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ecfsim-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  std::string file(const std::string &name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

class EcfsimProcess {
 public:
  ~EcfsimProcess() {
    close_terminal();
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }

  // Starts the program and reads the terminal path it prints. Its standard
  // output is read only for that first line; tests send the paper to a file.
  bool start(const std::vector<std::string> &args) {
    pid_ = spawn(args, false, out_);
    if (pid_ < 0) return false;

    const auto deadline = Clock::now() + kDeadline;
    while (path_.empty() || path_.back() != '\n') {
      const std::string c = read_some(out_, 1, deadline);
      if (c.empty()) return false;
      path_ += c;
    }
    path_.pop_back();
    return true;
  }

  const std::string &path() const { return path_; }

  bool open_terminal() {
    close_terminal();
    tty_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty_ < 0) return false;
    termios t{};
    ::tcgetattr(tty_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(tty_, TCSANOW, &t);
    ::tcflush(tty_, TCIOFLUSH);
    return true;
  }

  void close_terminal() {
    if (tty_ >= 0) ::close(tty_);
    tty_ = -1;
  }

  // Sends `frame` and reads up to `want` answer bytes.
  std::string exchange(const std::string &frame, size_t want) {
    if (::write(tty_, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size()))
      return "write failed";
    return read_some(tty_, want, Clock::now() + kDeadline);
  }

  // True when nothing arrives within `ms`.
  bool silent_for(int ms) {
    pollfd p{tty_, POLLIN, 0};
    return ::poll(&p, 1, ms) == 0;
  }

  // Sends `sig` and waits for the exit; the exit status, or -1.
  int stop(int sig = SIGTERM) {
    if (pid_ <= 0) return -1;
    ::kill(pid_, sig);
    // The program's end closes its output: wait for that with a deadline.
    std::string rest;
    const bool ended = read_to_end(out_, rest, Clock::now() + kDeadline);
    const int status = reap(pid_, ended);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int tty_ = -1;
  std::string path_;
};

// Runs the program to its end with `args`; gives its exit status and output.
inline int run_to_end(const std::vector<std::string> &args, std::string &output) {
  int out = -1;
  const pid_t pid = spawn(args, true, out);
  if (pid < 0) return -1;
  const bool ended = read_to_end(out, output, Clock::now() + kDeadline);
  ::close(out);
  return reap(pid, ended);
}

}  // namespace ecfsim::test
