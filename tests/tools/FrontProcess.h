#pragma once

// Runs a program as a child with its standard streams caught, and the bits of process and
// file inspection that the front's tests share.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/Processes.h"

extern char** environ;

namespace fronttest {

namespace fs = std::filesystem;
using testproc::GoneWithin;
using testproc::ReadStat;
using testproc::Running;

class Process {
public:
    struct Options {
        std::vector<std::string> env;  // NAME=value, added to ours
        bool ownGroup = false;
    };

    Process(const std::string& program, const std::vector<std::string>& args, Options options) {
        int in[2];
        int out[2];
        int err[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
            std::abort();
        }
        std::vector<std::string> envText;
        for (char** e = environ; *e != nullptr; ++e) {
            envText.emplace_back(*e);
        }
        envText.insert(envText.end(), options.env.begin(), options.env.end());
        std::vector<char*> envp;
        for (auto& e : envText) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::vector<std::string> argText{program};
        argText.insert(argText.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argText) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            if (options.ownGroup) {
                setpgid(0, 0);
            }
            // A standard input that is neither empty nor ended, as a terminal's would be.
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            execve(program.c_str(), argv.data(), envp.data());
            _exit(126);
        }
        close(in[0]);
        close(out[1]);
        close(err[1]);
        in_ = in[1];
        out_ = out[0];
        err_ = err[0];
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (!reaped_) {
            kill(pid_, SIGKILL);
            Wait();
        }
        close(in_);
        close(out_);
        close(err_);
    }

    pid_t Pid() const { return pid_; }

    // Reads until `text` has appeared on the error stream, or the streams end, or the time is up.
    bool ReadUntil(const std::string& text, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (err.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !ReadOnce(static_cast<int>(left.count()))) {
                return false;
            }
        }
        return true;
    }

    // Reads both streams to their end and reaps the child; gives its wait status.
    int Wait() {
        while (ReadOnce(-1)) {
        }
        if (!reaped_) {
            while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
            }
            reaped_ = true;
        }
        return status_;
    }

    std::string out;
    std::string err;
    std::vector<std::string> errReads;  // each read of the error stream, as it came

private:
    bool ReadOnce(int timeoutMs) {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        const int open = (outOpen_ ? 1 : 0) + (errOpen_ ? 1 : 0);
        if (open == 0) {
            return false;
        }
        fds[0].fd = outOpen_ ? out_ : -1;
        fds[1].fd = errOpen_ ? err_ : -1;
        if (poll(fds, 2, timeoutMs) <= 0) {
            return false;
        }
        char buffer[65536];
        if (fds[0].revents != 0) {
            const ssize_t n = read(out_, buffer, sizeof buffer);
            if (n > 0) {
                out.append(buffer, static_cast<std::size_t>(n));
            } else {
                outOpen_ = false;
            }
        }
        if (fds[1].revents != 0) {
            const ssize_t n = read(err_, buffer, sizeof buffer);
            if (n > 0) {
                err.append(buffer, static_cast<std::size_t>(n));
                errReads.emplace_back(buffer, static_cast<std::size_t>(n));
            } else {
                errOpen_ = false;
            }
        }
        return true;
    }

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool outOpen_ = true;
    bool errOpen_ = true;
    bool reaped_ = false;
    int status_ = 0;
};

inline int ExitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
inline int DeathSignal(int status) {
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

inline std::vector<pid_t> ChildrenOf(pid_t pid) {
    std::vector<pid_t> children;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        char state = 0;
        pid_t parent = 0;
        if (ReadStat(std::stoi(name), state, parent) && parent == pid) {
            children.push_back(std::stoi(name));
        }
    }
    return children;
}

inline pid_t OnlyChildWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto children = ChildrenOf(pid);
        if (children.size() == 1 || std::chrono::steady_clock::now() > end) {
            return children.size() == 1 ? children.front() : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// A fresh folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "tunemill-front-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& Path() const { return path_; }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

inline std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

}  // namespace fronttest
