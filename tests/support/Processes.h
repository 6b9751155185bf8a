#pragma once

#include <sys/types.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

// Processes as /proc shows them, for tests that check what is left running.
namespace testproc {

// The parent process id and state letter from /proc/PID/stat; the name before them may hold
// spaces and parentheses, so the fields are read after its last ')'.
inline bool ReadStat(pid_t pid, char& state, pid_t& parent) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    std::istringstream fields(text.substr(close + 1));
    long ppid = 0;
    fields >> state >> ppid;
    parent = static_cast<pid_t>(ppid);
    return true;
}

// Alive and not a zombie.
inline bool Running(pid_t pid) {
    char state = 0;
    pid_t parent = 0;
    return ReadStat(pid, state, parent) && state != 'Z' && state != 'X';
}

inline bool GoneWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Running(pid)) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace testproc
