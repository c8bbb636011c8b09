#include "progress.h"

#include <pthread.h>
#include <unistd.h>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

namespace ecfctl {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kFirstNotice = 1s;
// Where stderr is not a terminal each notice is a line of its own, so they
// come less often.
constexpr std::chrono::seconds kLineEvery = 10s;

}  // namespace

struct Progress::Shared {
  bool tty = false;
  std::mutex mutex;
  std::condition_variable wake;
  bool stop = false;
  bool active = false;
  bool shown = false;
  Clock::time_point started;

  void clear_line_locked() {
    if (shown && tty) {
      std::fputs("\r                                        \r", stderr);
      std::fflush(stderr);
    }
    shown = false;
  }

  void run() {
    std::unique_lock lock(mutex);
    while (!stop) {
      if (!active) {
        wake.wait(lock, [this] { return stop || active; });
        continue;
      }
      auto elapsed = Clock::now() - started;
      auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed);
      auto every = tty ? std::chrono::seconds(1) : kLineEvery;
      if (elapsed >= kFirstNotice && (tty || !shown || seconds.count() % every.count() == 0)) {
        std::fprintf(
            stderr,
            tty ? "\rwaiting for the printer... %llds" : "waiting for the printer... %llds\n",
            static_cast<long long>(seconds.count()));
        std::fflush(stderr);
        shown = true;
      }
      // Sleep to the next whole second of this call, or until it ends.
      auto call_started = started;
      auto next = started + (seconds + 1s);
      wake.wait_until(lock, next, [&] { return stop || !active || started != call_started; });
    }
  }
};

Progress::Progress(bool enabled) {
  if (!enabled) return;
  shared_ = std::make_shared<Shared>();
  shared_->tty = ::isatty(STDERR_FILENO) == 1;
  // Signals go to the main thread only: the thread is created with them
  // blocked and inherits that.
  sigset_t block, old;
  sigemptyset(&block);
  sigaddset(&block, SIGINT);
  sigaddset(&block, SIGTERM);
  sigaddset(&block, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &block, &old);
  std::thread([s = shared_] { s->run(); }).detach();
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

Progress::~Progress() {
  if (!shared_) return;
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stop = true;
    shared_->clear_line_locked();
  }
  shared_->wake.notify_all();
}

void Progress::begin() {
  if (!shared_) return;
  {
    std::lock_guard lock(shared_->mutex);
    shared_->active = true;
    shared_->shown = false;
    shared_->started = Clock::now();
  }
  shared_->wake.notify_all();
}

void Progress::end() {
  if (!shared_) return;
  {
    std::lock_guard lock(shared_->mutex);
    shared_->active = false;
    shared_->clear_line_locked();
  }
  shared_->wake.notify_all();
}

}  // namespace ecfctl
