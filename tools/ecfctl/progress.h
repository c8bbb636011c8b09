// "waiting for the printer... Ns" on stderr while a driver call takes longer
// than a second. The thread only prints: the driver is called from the main
// thread alone.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace ecfctl {

class Progress {
public:
    explicit Progress(bool enabled);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void begin();  // a driver call starts
    void end();    // it returned

private:
    void run();
    void clear_line_locked();

    bool enabled_;
    bool tty_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool active_ = false;
    bool shown_ = false;
    std::chrono::steady_clock::time_point started_;
    std::thread thread_;
};

// Brackets one driver call.
class Waiting {
public:
    explicit Waiting(Progress& p) : p_(p) { p_.begin(); }
    ~Waiting() { p_.end(); }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

private:
    Progress& p_;
};

}  // namespace ecfctl
