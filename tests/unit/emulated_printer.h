// The printer of the driver's tests: the emulator's fiscal side and serial
// device on the test platform's line. A hook may answer a command in the
// printer's place (a refusal, an odd variable); the line can be cut to play
// a crash; every byte both ways is kept for transcripts.
#pragma once

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/printer.h"
#include "ecfbmtc.h"
#include "platform/test_platform.h"
#include "wire/device.h"

namespace ecftest {

class EmulatedPrinter : public LinePeer {
 public:
  using Hook = std::function<std::optional<ecfsim::Reply>(int command, std::string_view args)>;

  explicit EmulatedPrinter(int model = 12, std::uint32_t reduction_busy_ms = 2000)
      : printer(config(model, reduction_busy_ms)),
        device([this](uint16_t c, std::string_view a) { return execute(c, a); }) {
    set_peer(this);
  }
  ~EmulatedPrinter() override { set_peer(nullptr); }
  EmulatedPrinter(const EmulatedPrinter &) = delete;
  EmulatedPrinter &operator=(const EmulatedPrinter &) = delete;

  void from_driver(std::uint8_t b, std::int64_t now) override {
    if (cut) return;
    note(true, b);
    device.from_host(b, now);
  }
  int to_driver(std::int64_t now) override {
    const int b = device.to_host(now);
    if (b < 0 || cut) return -1;
    note(false, static_cast<std::uint8_t>(b));
    return b;
  }
  bool cts(std::int64_t now) override { return device.cts(now); }
  int line_errors() override { return device.line_errors(); }

  // The line back after a cut: what the printer had queued is lost.
  void mend() {
    set_peer(this);
    cut = false;
    while (device.to_host(INT64_MAX / 2000) >= 0) {
    }
  }

  // From now on the printer's clock reads `civil` (seconds, local civil time)
  // and runs with the virtual clock; by default it stands still.
  void run_clock_from(std::int64_t civil) {
    clock_origin_ = civil - now_ms() / 1000;
    clock_runs_ = true;
  }

  // Lines of paper holding `text`.
  int printed(std::string_view text) const {
    int n = 0;
    for (const auto &l : paper) n += l.find(text) != std::string::npos;
    return n;
  }
  int count(int command) const {
    int n = 0;
    for (int c : commands) n += c == command;
    return n;
  }
  // The arguments of the last `command` decoded, or "-".
  std::string args(int command) const {
    for (auto i = commands.size(); i-- > 0;)
      if (commands[i] == command) return arguments[i];
    return "-";
  }
  void clear_sent() {
    commands.clear();
    arguments.clear();
  }

  // The next `times` frames of `command` (all of them when negative) are
  // refused as refusal() gives them.
  void refuse(int command, int times = -1, std::uint8_t st1 = 0, std::uint16_t exec = 1) {
    refusals_[command] = {times, st1, exec};
  }
  // The next frame of `command` is carried out and its answer lost.
  void lose_answer(int command) { lost_answer_ = command; }

  // The bytes since the last call, both directions, one line a turn: "> "
  // from the driver, "< " to it; printable bytes as they are, others as <XX>.
  std::string take_transcript() {
    std::string t;
    for (const auto &[from_driver, bytes] : turns_) {
      t += from_driver ? "> " : "< ";
      for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '<') {
          t += static_cast<char>(c);
        } else {
          static constexpr char hex[] = "0123456789ABCDEF";
          t += {'<', hex[c >> 4], hex[c & 15], '>'};
        }
      }
      t += '\n';
    }
    turns_.clear();
    return t;
  }

  // What the printer would answer, turned into a refusal with these status
  // bytes: same layout and length, and the printer left as it was.
  ecfsim::Reply refusal(int command, std::string_view args, std::uint8_t st1 = 0,
                        std::uint8_t st2 = 0x01, std::uint16_t exec = 1) {
    const std::string memory = printer.save();
    const auto lines = paper.size();
    ecfsim::Reply r = printer.execute(static_cast<uint16_t>(command), args);
    printer.load(memory);
    paper.resize(lines);
    r.st1 = st1;
    r.st2 = static_cast<std::uint8_t>(st2 | 0x01);
    r.exec_status = exec;
    return r;
  }

  std::vector<std::string> paper;  // declared before the printer that fills it
  ecfsim::Printer printer;
  ecfsim::Device device;
  std::vector<int> commands;           // every command the device decoded
  std::vector<std::string> arguments;  // beside commands: the arguments of each
  Hook hook;
  bool cut = false;  // nothing passes the line either way

 private:
  ecfsim::PrinterConfig config(int model, std::uint32_t reduction_busy_ms) {
    ecfsim::PrinterConfig c;
    c.model_code = model;
    c.reduction_busy_ms = reduction_busy_ms;
    c.clock = [this] { return clock_runs_ ? clock_origin_ + now_ms() / 1000 : clock_origin_; };
    c.paper = [this](std::string_view line) { paper.emplace_back(line); };
    return c;
  }
  ecfsim::Reply execute(uint16_t command, std::string_view args) {
    commands.push_back(command);
    arguments.emplace_back(args);
    if (command == lost_answer_) {
      device.faults().drop_next = 1;
      lost_answer_ = -1;
    }
    if (auto it = refusals_.find(command); it != refusals_.end() && it->second.times != 0) {
      if (it->second.times > 0) --it->second.times;
      return refusal(command, args, it->second.st1, 0x01, it->second.exec);
    }
    if (hook)
      if (auto r = hook(command, args)) return *r;
    return printer.execute(command, args);
  }
  void note(bool from_driver, std::uint8_t b) {
    if (turns_.empty() || turns_.back().first != from_driver) turns_.push_back({from_driver, {}});
    turns_.back().second.push_back(static_cast<char>(b));
  }

  struct Refusal {
    int times;
    std::uint8_t st1;
    std::uint16_t exec;
  };
  std::map<int, Refusal> refusals_;
  int lost_answer_ = -1;
  std::vector<std::pair<bool, std::string>> turns_;
  std::int64_t clock_origin_ = 1767348000;
  bool clock_runs_ = false;
};

// A working directory of the test's own for the files the driver writes,
// removed with everything in it afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    char name[] = "/tmp/ecftest.XXXXXX";
    dir_ = ::mkdtemp(name);
    std::filesystem::current_path(dir_);
  }
  ~ScratchDir() {
    std::filesystem::current_path(back_);
    std::filesystem::remove_all(dir_);
  }
  ScratchDir(const ScratchDir &) = delete;
  ScratchDir &operator=(const ScratchDir &) = delete;

 private:
  std::filesystem::path back_ = std::filesystem::current_path(), dir_;
};

// A whole sale of one item paid in full with `method`; the first failure.
inline int sell_one(const char *amount, int method = 1) {
  int r = ECFIF_inicio_venda();
  if (r == 0) r = ECFBMTC_registra_item("1", "Arroz", "01", "1000", amount);
  if (r == 0) r = ECFIF_imprime_total(nullptr);
  if (r == 0) r = ECFBMTC_pagamento(method, amount, "", "");
  return r != 0 ? r : ECFIF_fim_venda();
}

}  // namespace ecftest
