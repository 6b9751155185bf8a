#pragma once

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <sstream>
#include <string>
#include <thread>

// Processes as /proc shows them, for tests that check what is left running.
namespace testproc {

// All of a /proc file already open, or nothing when it cannot be read: a process that ends
// after its file was opened makes the read fail (ESRCH), and that means it is gone.
inline bool ReadProcFile(int fd, std::string& text) {
    text.clear();
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) {
            return true;
        }
        if (n < 0 && errno != EINTR) {
            return false;
        }
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }
}

inline bool ReadProcFile(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool read = ReadProcFile(fd, text);
    ::close(fd);
    return read;
}

// The state letter and parent process id of a /proc/PID/stat text; the name before them may
// hold spaces and parentheses, so the fields are read after its last ')'.
inline bool ParseStat(const std::string& text, char& state, pid_t& parent) {
    const auto close = text.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    std::istringstream fields(text.substr(close + 1));
    long ppid = 0;
    if (!(fields >> state >> ppid)) {
        return false;
    }
    parent = static_cast<pid_t>(ppid);
    return true;
}

// False when there is no such process.
inline bool ReadStat(pid_t pid, char& state, pid_t& parent) {
    std::string text;
    return ReadProcFile("/proc/" + std::to_string(pid) + "/stat", text) &&
           ParseStat(text, state, parent);
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

// Whether the process waits in open() for the other end of a FIFO, which no signal that it
// handles ends. The kernel names the place it waits in.
inline bool BlockedOpeningAFifo(pid_t pid) {
    std::string where;
    return ReadProcFile("/proc/" + std::to_string(pid) + "/wchan", where) &&
           (where == "wait_for_partner" || where == "fifo_open");
}

}  // namespace testproc
