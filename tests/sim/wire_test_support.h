// Helpers shared by the emulator's wire tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wire/device.h"

namespace ecfsim::test {

inline std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// Records each command and answers with a reply the test sets.
struct FakeHandler {
  Reply reply;
  std::vector<std::pair<uint16_t, std::string>> calls;

  Device::Handler handler() {
    return [this](uint16_t command, std::string_view args) {
      calls.emplace_back(command, std::string(args));
      return reply;
    };
  }
};

inline void send(Device &device, std::string_view data, int64_t now_ms) {
  for (char c : data) device.from_host(static_cast<uint8_t>(c), now_ms);
}

// Every byte the device has for the host by `now_ms`.
inline std::string take(Device &device, int64_t now_ms) {
  std::string out;
  for (int b = device.to_host(now_ms); b >= 0; b = device.to_host(now_ms))
    out.push_back(static_cast<char>(b));
  return out;
}

inline const std::string kStatusRead = bytes({0x02, 0x04, 0x00, 0x1B, 0x13, 0x2E, 0x00});
inline const std::string kOk = bytes({6, 0, 0});
inline const std::string kNak = bytes({0x15});

}  // namespace ecfsim::test
