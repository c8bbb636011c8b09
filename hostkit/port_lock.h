// The conventional lock file of a serial device ("LCK..ttyS0" in the
// system's lock folder, holding the owner's PID as ten ASCII columns and a
// line feed), so that two hosts never drive one printer at once.
#ifndef ECFHOST_PORT_LOCK_H
#define ECFHOST_PORT_LOCK_H

#include <sys/types.h>

#include <string>

namespace ecfhost {

// ECF_LOCK_DIR when set, else /run/lock, else /var/lock.
std::string lock_folder();

// "LCK.." and the device's canonical path below /dev, '/' turned into '_'.
std::string lock_name(const std::string &device);

// A live process that holds the device's lock, or 0.
pid_t lock_holder(const std::string &device);

class PortLock {
 public:
  enum class Outcome {
    taken,
    busy,       // holder() names the live owner
    no_folder,  // the folder cannot take a lock: logged, the port goes on without
  };

  PortLock() = default;
  PortLock(const PortLock &) = delete;
  PortLock &operator=(const PortLock &) = delete;
  ~PortLock() { release(); }

  // Takes the device's lock; a lock whose owner is dead is taken over.
  Outcome take(const std::string &device);
  // Removes the lock file if this process still owns it.
  void release();
  pid_t holder() const { return holder_; }

 private:
  std::string path_;
  pid_t owner_ = 0;
  pid_t holder_ = 0;
};

}  // namespace ecfhost

#endif
