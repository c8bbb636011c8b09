// One run of ecfctl against the driver, and what every subcommand shares:
// the outcome report and small text helpers.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "commands.h"
#include "driver.h"
#include "progress.h"
#include "state_file.h"
#include "wire_count.h"

namespace ecfctl {

// What report() gets when the driver lacks the operation.
inline constexpr int kMissingOperation = -1;
inline constexpr unsigned char kChangedFlag = 0x01;

// Set by the first SIGINT/SIGTERM/SIGHUP; long commands stop at a safe point.
extern std::atomic<bool> g_interrupted;
void install_signal_handlers();

// Where the libraries are by default, and the line speed from the environment.
std::string program_lib_dir();
long speed_from_environment();

// One run of ecfctl against the driver: the loaded libraries, the record kept
// in the state file, and the calls.
class Session {
 public:
  explicit Session(const Options &o) : opt_(o), progress_(!o.quiet) {}

  ~Session() {
    if (ready_ && driver_.ops().fim_protocolo != nullptr && used_port_) {
      driver_.ops().fim_protocolo();
    }
  }

  Session(const Session &) = delete;
  Session &operator=(const Session &) = delete;

  // Locks and loads the state, loads the libraries, applies the options.
  bool start() {
    if (opt_.speed <= 0) opt_.speed = speed_from_environment();
    lock_ = std::make_unique<StateLock>(opt_.state_path);
    if (!lock_->held()) return env_error(lock_->error());
    if (!opt_.device.empty()) ::setenv("ECF_SERIAL_DEVICE", opt_.device.c_str(), 1);
    ::setenv("ECF_SERIAL_SPEED", std::to_string(opt_.speed).c_str(), 1);
    if (opt_.port > 0) ::setenv("ECF_SERIAL_PORT", std::to_string(opt_.port).c_str(), 1);
    if (!opt_.log_file.empty()) ::setenv("ECF_LOG_FILE", opt_.log_file.c_str(), 1);
    if (opt_.log_mode >= 0) ::setenv("ECF_LOG_MODE", std::to_string(opt_.log_mode).c_str(), 1);

    // The saved record is read before anything is loaded, so a bad file
    // stops the run before any printer work.
    std::array<uint8_t, kRecordSize> saved_record{};
    SavedState saved{saved_record, 0};
    LoadResult lr = load_state(opt_.state_path, saved);
    if (lr.status == LoadStatus::Invalid) {
      return env_error(lr.error + "; move it away to start with an empty record");
    }

    const char *env_dir = std::getenv("ECFCTL_LIB_DIR");
    std::string dir = !opt_.lib_dir.empty()                      ? opt_.lib_dir
                      : (env_dir != nullptr && *env_dir != '\0') ? std::string(env_dir)
                                                                 : program_lib_dir();
    if (auto err = driver_.load(dir); !err.empty()) return env_error(err);

    if (lr.status == LoadStatus::Loaded) {
      std::copy(saved_record.begin(), saved_record.end(), driver_.record().begin());
      on_disk_ = saved_record;
      on_disk_known_ = true;
    }
    driver_.nvmem()->flags &= static_cast<unsigned char>(~kChangedFlag);
    const Globals &g = driver_.globals();
    if (g.o_que_repetir != nullptr) *g.o_que_repetir = saved.repeat_code;
    saved_repeat_ = saved.repeat_code;

    if (g.porta_serial != nullptr && opt_.port > 0) *g.porta_serial = opt_.port;
    if (g.veloc_serial != nullptr) *g.veloc_serial = static_cast<int>(opt_.speed);
    if (g.log_modo != nullptr && opt_.log_mode >= 0) *g.log_modo = opt_.log_mode;
    for (const auto &arg : opt_.driver_options) {
      if (driver_.ops().tratou_argumento(arg.c_str()) == 0) {
        std::fprintf(stderr, "ecfctl: option \"%s\" is not known to the driver or the host kit\n",
                     arg.c_str());
      }
    }
    ready_ = true;
    started_ = std::chrono::steady_clock::now();
    return true;
  }

  const Ops &ops() const { return driver_.ops(); }
  const Globals &globals() const { return driver_.globals(); }
  std::span<uint8_t> record() const { return driver_.record(); }
  bool save_failed() const { return save_failed_; }
  const Options &options() const { return opt_; }
  void *symbol(const char *name) const { return driver_.symbol(name); }

  // Runs one driver call with the progress line, then saves the record if
  // the driver marked it changed.
  int call(const std::function<int()> &f) {
    int r;
    {
      Waiting w(progress_);
      used_port_ = true;
      r = f();
    }
    sync();
    return r;
  }

  void sync() {
    NvmemDescriptor *d = driver_.nvmem();
    const Globals &g = driver_.globals();
    int repeat = g.o_que_repetir != nullptr ? *g.o_que_repetir : 0;
    if ((d->flags & kChangedFlag) == 0 && repeat == saved_repeat_) return;
    // The driver marks the record changed after most commands even when it
    // holds the same bytes; only a real change costs a write to the disk.
    const auto rec = driver_.record();
    const bool same = on_disk_known_ && repeat == saved_repeat_ && rec.size() == on_disk_.size() &&
                      std::equal(rec.begin(), rec.end(), on_disk_.begin());
    if (same) {
      d->flags &= static_cast<unsigned char>(~kChangedFlag);
      return;
    }
    auto err = save_state(opt_.state_path, rec, repeat);
    if (!err.empty()) {
      // Keep the flag set so the next call tries again.
      std::fprintf(stderr, "ecfctl: the driver's record could not be saved: %s\n", err.c_str());
      save_failed_ = true;
      return;
    }
    d->flags &= static_cast<unsigned char>(~kChangedFlag);
    saved_repeat_ = repeat;
    if (rec.size() == on_disk_.size()) {
      std::copy(rec.begin(), rec.end(), on_disk_.begin());
      on_disk_known_ = true;
    }
  }

  // Model and columns are not kept between runs; many operations need them.
  int ensure_configured() {
    const Globals &g = globals();
    if (g.num_col_ecf != nullptr && *g.num_col_ecf >= 1) return 0;
    if (ops().pega_configuracao == nullptr) return kMissingOperation;
    int r = call([&] { return ops().pega_configuracao(); });
    if (r == 0 && g.num_col_ecf != nullptr && *g.num_col_ecf < 1) r = 39;
    return r;
  }

  double elapsed_seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  }

  void print_timing(FILE *out) const {
    WireCount w = wire_count();
    uint64_t bytes = w.sent + w.received;
    double wire =
        opt_.speed > 0 ? static_cast<double>(bytes) * 10.0 / static_cast<double>(opt_.speed) : 0.0;
    std::fprintf(out, "time: %.3f s, wire: %.3f s (%llu bytes sent, %llu received, at %ld baud)\n",
                 elapsed_seconds(), wire, static_cast<unsigned long long>(w.sent),
                 static_cast<unsigned long long>(w.received), opt_.speed);
  }

 private:
  bool env_error(const std::string &e) {
    std::fprintf(stderr, "ecfctl: %s\n", e.c_str());
    return false;
  }

  Options opt_;
  Progress progress_;
  Driver driver_;
  std::unique_ptr<StateLock> lock_;
  bool ready_ = false;
  bool used_port_ = false;
  bool save_failed_ = false;
  int saved_repeat_ = 0;
  std::array<uint8_t, kRecordSize> on_disk_{};  // the record as last saved
  bool on_disk_known_ = false;
  std::chrono::steady_clock::time_point started_;
};

// Prints the outcome of one operation; returns the exit code it stands for.
int report(const Session &s, std::string_view label, int r);

std::string bcd_digits(const unsigned char *p, int n);
// Digit string with two implied decimals as "1234.56".
std::string as_money(std::string digits);
std::string trim(std::string_view s);
bool same_name(std::string_view a, std::string_view b);

}  // namespace ecfctl
