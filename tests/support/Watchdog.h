#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace testutil {

// Ends the process with a report when the thread that owns it makes no progress for too long:
// a test that would hang in the toolkit says where it was instead of waiting for the runner's
// time-out. `Step` marks progress and says what comes next.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit) : limit_(limit), thread_([this] { Watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Step(std::string what) {
        std::lock_guard lock(mutex_);
        what_ = std::move(what);
        last_ = Clock::now();
    }

private:
    using Clock = std::chrono::steady_clock;

    void Watch() {
        std::unique_lock lock(mutex_);
        while (!done_) {
            if (Clock::now() - last_ > limit_) {
                std::fprintf(stderr, "no progress for %lld s in: %s\n",
                             static_cast<long long>(limit_.count()), what_.c_str());
                std::fflush(stderr);
                std::abort();
            }
            wake_.wait_for(lock, std::chrono::milliseconds(200));
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::string what_ = "(start)";
    Clock::time_point last_ = Clock::now();
    std::thread thread_;
};

}  // namespace testutil
