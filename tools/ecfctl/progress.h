// "waiting for the printer... Ns" on stderr while a driver call takes longer
// than a second. The thread only prints: the driver is called from the main
// thread alone.
#pragma once

#include <memory>

namespace ecfctl {

class Progress {
 public:
  explicit Progress(bool enabled);
  ~Progress();
  Progress(const Progress &) = delete;
  Progress &operator=(const Progress &) = delete;

  void begin();  // a driver call starts
  void end();    // it returned

  struct Shared;

 private:
  // Shared with the thread, which is detached rather than joined: it may
  // outlive this object by one wake-up, and a join after a signal has been
  // seen to fail under 32-bit emulation.
  std::shared_ptr<Shared> shared_;
};

// Brackets one driver call.
class Waiting {
 public:
  explicit Waiting(Progress &p) : p_(p) { p_.begin(); }
  ~Waiting() { p_.end(); }
  Waiting(const Waiting &) = delete;
  Waiting &operator=(const Waiting &) = delete;

 private:
  Progress &p_;
};

}  // namespace ecfctl
