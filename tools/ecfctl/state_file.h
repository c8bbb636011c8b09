// The file that keeps the driver's persistent record between runs, the way a
// till keeps it in non-volatile memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

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

// Why `path` cannot be a state file (a directory, a FIFO, a device), or "".
// Looks without opening, so nothing blocks and no device is touched.
std::string unusable_state_path(const std::string &path);

// The state file of one run. The file holds two slots, each a whole copy of
// the state with a sequence number and a checksum; a save rewrites the older
// slot in place and flushes it once, so a power cut leaves the newer intact.
// The single-copy file of earlier versions is still read, and replaced by
// the two-slot form (temporary file, flush, rename) on its first save.
class StateFile {
 public:
  explicit StateFile(std::string path) : path_(std::move(path)) {}
  ~StateFile();
  StateFile(const StateFile &) = delete;
  StateFile &operator=(const StateFile &) = delete;

  // Fills the record and the repeat code from the file. A missing file
  // leaves both as they are (the driver's initial image); a file that is not
  // a regular file or not a saved record of this size is reported Invalid
  // and nothing is changed.
  LoadResult load(SavedState &state);

  // Returns an empty string or why the state is not saved. A failed save
  // leaves the last saved state readable.
  std::string save(std::span<const uint8_t> record, int32_t repeat_code);

  const std::string &path() const { return path_; }

 private:
  std::string create(std::span<const uint8_t> slot);

  std::string path_;
  int fd_ = -1;      // open on the two-slot file once known
  int newest_ = -1;  // the slot holding the last saved state
  uint64_t sequence_ = 0;
};

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
