// State shared by the test platform's source files.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "test_platform.h"

namespace ecftest::detail {

struct RxEvent {
  std::int64_t at;
  bool is_error;
  int value;
};

struct Step {
  std::optional<Bytes> expected;
  Answer answer;
};

struct LineState {
  LinePeer *peer = nullptr;
  std::deque<RxEvent> rx;
  std::vector<std::pair<std::int64_t, std::int64_t>> cts_windows;
  std::deque<Step> steps;
  Answer default_answer;
  std::vector<std::string> mismatches;
  Bytes transmitted;
  Bytes current_frame;
  std::size_t frames_seen = 0;
  bool cts = true;
  int transmit_result = 0;
  int open_result = 0;
  bool tx_pending = false;
  PortCalls calls;
};

struct ClockState {
  std::int64_t now_ms = 0;
  std::int64_t tick_ms = 1;
  long epoch = 1767348000;  // 2026-01-02 10:00:00 UTC
};

LineState &line();
ClockState &clock();
void tick();
void reset_line();
void reset_clock();
void reset_host();

}  // namespace ecftest::detail
