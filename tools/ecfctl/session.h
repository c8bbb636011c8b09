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
// What Session::call() returns instead of calling after a stop signal.
inline constexpr int kInterrupted = -2;
inline constexpr unsigned char kChangedFlag = 0x01;

// Set by the first SIGINT/SIGTERM/SIGHUP: no driver call starts after it. A
// second signal ends the process at once.
extern std::atomic<bool> g_interrupted;
void install_signal_handlers();

// Where the libraries are by default, and the line speed from the environment.
std::string program_lib_dir();
long speed_from_environment();

// One run of ecfctl against the driver: the loaded libraries, the record kept
// in the state file, and the calls.
class Session {
 public:
  explicit Session(const Options &o) : opt_(o), progress_(!o.quiet), state_file_(o.state_path) {}

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
    if (auto why = unusable_state_path(opt_.state_path); !why.empty()) return env_error(why);
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
    LoadResult lr = state_file_.load(saved);
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
      on_disk_known_ = true;
    }
    // Without a file, the record as the driver starts: any change is saved.
    std::copy(driver_.record().begin(), driver_.record().end(), on_disk_.begin());
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
  // Where the record stands, for messages: "the record is saved in FILE" or
  // "the record is not saved (why)".
  std::string record_note() const {
    return save_error_.empty() ? "the record is saved in " + opt_.state_path
                               : "the record is not saved (" + save_error_ + ")";
  }
  const Options &options() const { return opt_; }
  void *symbol(const char *name) const { return driver_.symbol(name); }

  // Runs one driver call with the progress line, then saves the record if
  // it changed. A call that sent nothing to the printer (a description line
  // kept for the next item) has its change saved with the next call that
  // sends, or at the end of the run: what the printer did is on disk as soon
  // as before, and a sale costs fewer flushes. After a stop signal nothing
  // more is sent.
  int call(const std::function<int()> &f) {
    if (g_interrupted.load()) return kInterrupted;
    const uint64_t sent_before = wire_count().sent;
    int r;
    {
      Waiting w(progress_);
      used_port_ = true;
      r = f();
    }
    if (wire_count().sent != sent_before) sync();
    return r;
  }

  void sync() {
    NvmemDescriptor *d = driver_.nvmem();
    const Globals &g = driver_.globals();
    int repeat = g.o_que_repetir != nullptr ? *g.o_que_repetir : 0;
    // The bytes decide: the driver marks the record changed after most
    // commands even when it holds the same bytes, and does not mark every
    // change (a buffered text line). Only a real change costs a write.
    const auto rec = driver_.record();
    const bool same_bytes =
        rec.size() == on_disk_.size() && std::equal(rec.begin(), rec.end(), on_disk_.begin());
    if (same_bytes && repeat == saved_repeat_ &&
        (on_disk_known_ || (d->flags & kChangedFlag) == 0)) {
      d->flags &= static_cast<unsigned char>(~kChangedFlag);
      return;
    }
    auto err = state_file_.save(rec, repeat);
    if (!err.empty()) {
      // Keep the flag set so the next call tries again.
      if (err != save_error_) std::fprintf(stderr, "ecfctl: record not saved: %s\n", err.c_str());
      save_error_ = err;
      save_failed_ = true;
      return;
    }
    save_error_.clear();
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
    // Learning the model reads the manufacturing data, which clears the
    // repeat code this run brought from the state file: keep it.
    int *repetir = g.o_que_repetir;
    const int codigo = repetir != nullptr ? *repetir : 0;
    int r = call([&] {
      const int c = ops().pega_configuracao();
      if (repetir != nullptr) *repetir = codigo;
      return c;
    });
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
  StateFile state_file_;
  std::unique_ptr<StateLock> lock_;
  bool ready_ = false;
  bool used_port_ = false;
  bool save_failed_ = false;  // a save failed during this run
  std::string save_error_;    // why the last save failed; "" once one succeeds
  int saved_repeat_ = 0;
  std::array<uint8_t, kRecordSize> on_disk_{};  // the record as last saved
  bool on_disk_known_ = false;
  std::chrono::steady_clock::time_point started_;
};

// Prints the outcome of one operation; returns the exit code it stands for.
int report(const Session &s, std::string_view label, int r);

// The printer's document counter (COO), or "" when it cannot be read.
std::string read_coo(Session &s);
// Printer document states of an open fiscal receipt.
bool fiscal_receipt_open(int state);

std::string bcd_digits(const unsigned char *p, int n);
// Digit string with two implied decimals as "1234.56".
std::string as_money(std::string digits);
std::string trim(std::string_view s);
// Latin-1 names alike but for case and accents.
bool same_name(std::string_view a, std::string_view b);
// What the driver's repeat code would run again.
std::string_view repeat_meaning(int code);

}  // namespace ecfctl
