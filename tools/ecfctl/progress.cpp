#include "progress.h"

#include <cstdio>
#include <unistd.h>

namespace ecfctl {
namespace {

using namespace std::chrono_literals;

constexpr auto kFirstNotice = 1s;
// Where stderr is not a terminal each notice is a line of its own, so they
// come less often.
constexpr auto kLineEvery = 10s;

}  // namespace

Progress::Progress(bool enabled) : enabled_(enabled), tty_(::isatty(STDERR_FILENO) == 1) {
    if (enabled_) thread_ = std::thread([this] { run(); });
}

Progress::~Progress() {
    if (!enabled_) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void Progress::begin() {
    if (!enabled_) return;
    {
        std::lock_guard lock(mutex_);
        active_ = true;
        shown_ = false;
        started_ = std::chrono::steady_clock::now();
    }
    wake_.notify_all();
}

void Progress::end() {
    if (!enabled_) return;
    std::lock_guard lock(mutex_);
    active_ = false;
    clear_line_locked();
    wake_.notify_all();
}

void Progress::clear_line_locked() {
    if (shown_ && tty_) {
        std::fputs("\r                                        \r", stderr);
        std::fflush(stderr);
    }
    shown_ = false;
}

void Progress::run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (!active_) {
            wake_.wait(lock, [this] { return stop_ || active_; });
            continue;
        }
        auto elapsed = std::chrono::steady_clock::now() - started_;
        auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed);
        auto step = tty_ ? std::chrono::seconds(1) : std::chrono::seconds(kLineEvery);
        if (elapsed >= kFirstNotice && (tty_ || !shown_ || seconds.count() % step.count() == 0)) {
            if (tty_) {
                std::fprintf(stderr, "\rwaiting for the printer... %llds", static_cast<long long>(seconds.count()));
            } else {
                std::fprintf(stderr, "waiting for the printer... %llds\n", static_cast<long long>(seconds.count()));
            }
            std::fflush(stderr);
            shown_ = true;
        }
        // Sleep to the next whole second of this call, or until it ends.
        auto next = started_ + (seconds + std::chrono::seconds(1));
        auto call_started = started_;
        wake_.wait_until(lock, next, [&] { return stop_ || !active_ || started_ != call_started; });
    }
}

}  // namespace ecfctl
