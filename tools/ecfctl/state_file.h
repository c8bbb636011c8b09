// The file that keeps the driver's persistent record between runs, the way a
// till keeps it in non-volatile memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ecfctl {

enum class LoadStatus { Loaded, Missing, Invalid };

struct LoadResult {
  LoadStatus status;
  std::string error;  // why the file is invalid or unreadable
};

// What the file keeps: the record, and which operation a repeat would run
// again (the driver forgets it when the process ends).
struct SavedState {
  std::span<uint8_t> record;
  int32_t repeat_code = 0;
};

// Fills the record and the repeat code from the file. A missing file leaves
// both as they are (the driver's initial image); a file that is not a saved
// record of this size is reported Invalid and nothing is changed.
LoadResult load_state(const std::string &path, SavedState &state);

// Writes the state atomically: a temporary file beside it, flushed to disk
// (one flush), then renamed over the old one. Returns an empty string or the
// error.
std::string save_state(const std::string &path, std::span<const uint8_t> record,
                       int32_t repeat_code);

// Exclusive use of one state file by one process at a time (an advisory lock
// on "<path>.lock"). Two runs on one record would lose each other's changes.
class StateLock {
 public:
  explicit StateLock(const std::string &path);
  ~StateLock();
  StateLock(const StateLock &) = delete;
  StateLock &operator=(const StateLock &) = delete;
  bool held() const { return fd_ >= 0; }
  const std::string &error() const { return error_; }

 private:
  int fd_ = -1;
  std::string error_;
};

uint32_t crc32(std::span<const uint8_t> bytes);

}  // namespace ecfctl
