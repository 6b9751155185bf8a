#include "tools/ffmpeg/Front.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/random.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/ffmpeg/OutputTarget.h"
#include "tools/ffmpeg/StderrRewriter.h"

namespace ffront {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::array<int, 3> kStopSignals = {SIGTERM, SIGINT, SIGHUP};

// How long a stopped ffmpeg may take to end by itself before it is killed: one blocked in
// open() (a FIFO, a hung network mount) never does. Well inside the time the application's
// shell gives the whole chain before it kills everything and no one cleans up.
constexpr auto kKillGrace = std::chrono::milliseconds(1000);

[[noreturn]] void DieOf(int signalNumber) {
    signal(signalNumber, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signalNumber);
    _exit(128 + signalNumber);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void Complain(const std::string& text) {
    WriteAll(STDERR_FILENO, "ffmpeg: " + text + "\n");
}

// A descriptor 0, 1 or 2 that came closed would be handed out again for our pipe and our
// files, and ffmpeg would then write its messages into them.
void OpenStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) < 0 && open("/dev/null", O_RDWR) < 0) {
            _exit(1);
        }
    }
}

std::string RandomLetters(std::size_t count) {
    static constexpr std::string_view kAlphabet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string letters(count, 'x');
    std::vector<unsigned char> noise(count);
    if (getrandom(noise.data(), noise.size(), 0) != static_cast<ssize_t>(noise.size())) {
        for (auto& byte : noise) {
            byte = static_cast<unsigned char>(random());
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        letters[i] = kAlphabet[noise[i] % kAlphabet.size()];
    }
    return letters;
}

// Tries hidden names beside `output` until `take` succeeds with one, or fails for another
// reason than the name being taken (errno tells it); the name it took.
template <typename Take>
std::optional<std::string> TakeHiddenName(const std::string& output, Take take) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = TemporaryPathFor(output, RandomLetters(6));
        if (take(path)) {
            return path;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The file that ffmpeg writes in place of the output, in the output's folder so that the
// rename over the output stays within one file system.
struct TemporaryFile {
    std::string path;  // as ffmpeg is told it
    int descriptor = -1;
    // Without a name until it is kept: ffmpeg writes it through the /proc path of the
    // descriptor it inherits, and when we die the kernel frees it.
    bool unnamed = false;
};

// Creates the temporary file, so that no one else can take its name, with the mode the output
// has (or would get). Nothing when the output is not a plain file (a device, a link, a
// folder: writing through it differs from replacing it) or its folder takes no new file;
// ffmpeg then writes the output itself and reports what goes wrong in its own words.
std::optional<TemporaryFile> ReserveTemporary(const std::string& output, bool unnamed) {
    struct stat existing {};
    std::optional<mode_t> mode;
    if (lstat(output.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            return std::nullopt;
        }
        mode = existing.st_mode & 0777;
    } else if (errno != ENOENT) {
        return std::nullopt;
    }
    TemporaryFile file;
    if (unnamed) {
        // File systems without unnamed files refuse in several ways (EOPNOTSUPP, EISDIR,
        // EINVAL); any refusal leaves the named way, which says whether the folder takes files.
        file.descriptor = open(FolderOf(output).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (file.descriptor >= 0) {
            file.path = "/proc/self/fd/" + std::to_string(file.descriptor);
            file.unnamed = true;
            // Without /proc mounted, neither ffmpeg nor the link could reach it.
            if (access(file.path.c_str(), W_OK) != 0) {
                close(file.descriptor);
                file = TemporaryFile{};
            }
        }
    }
    if (file.descriptor < 0) {
        const auto path = TakeHiddenName(output, [&](const std::string& candidate) {
            file.descriptor =
                open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            return file.descriptor >= 0;
        });
        if (!path) {
            return std::nullopt;
        }
        file.path = *path;
    }
    if (mode) {
        fchmod(file.descriptor, *mode);
    }
    return file;
}

void Discard(const TemporaryFile& file) {
    if (!file.unnamed) {
        unlink(file.path.c_str());
    }
    close(file.descriptor);
}

// Puts what ffmpeg wrote in the output's place, in one rename, so that the output is the
// earlier file or the whole new one at every moment; the reason when it cannot.
std::optional<std::string> Keep(const TemporaryFile& file, const std::string& output) {
    struct stat written {};
    if (fstat(file.descriptor, &written) == 0 && written.st_size == 0) {
        Discard(file);
        return "nothing was written for '" + output + "'";
    }
    std::optional<std::string> named = file.path;
    if (file.unnamed) {
        named = TakeHiddenName(output, [&](const std::string& candidate) {
            return linkat(AT_FDCWD, file.path.c_str(), AT_FDCWD, candidate.c_str(),
                          AT_SYMLINK_FOLLOW) == 0;
        });
    }
    if (!named || rename(named->c_str(), output.c_str()) != 0) {
        const int error = errno;
        if (named) {
            unlink(named->c_str());
        }
        close(file.descriptor);
        return "cannot save the converted file as '" + output + "': " + std::strerror(error);
    }
    close(file.descriptor);
    return std::nullopt;
}

// The signals that stop the front are taken from a descriptor instead of a handler, so that
// the loop over ffmpeg's messages sees them between two reads. One that was ignored when we
// started stays ignored, for us and for ffmpeg.
sigset_t BlockStopSignals(int& descriptor) {
    sigset_t stop;
    sigemptyset(&stop);
    for (int signalNumber : kStopSignals) {
        struct sigaction current {};
        sigaction(signalNumber, nullptr, &current);
        if (current.sa_handler != SIG_IGN) {
            sigaddset(&stop, signalNumber);
        }
    }
    sigset_t original;
    sigprocmask(SIG_BLOCK, &stop, &original);
    descriptor = signalfd(-1, &stop, SFD_CLOEXEC | SFD_NONBLOCK);
    return original;
}

int TakeSignal(int descriptor) {
    signalfd_siginfo info{};
    if (read(descriptor, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) {
        return 0;
    }
    return static_cast<int>(info.ssi_signo);
}

}  // namespace

int RunFront(const char* ffmpeg, int argc, char** argv, Temporary kind) {
    OpenStandardDescriptors();
    int signals = -1;
    const sigset_t originalMask = BlockStopSignals(signals);
    if (signals < 0) {
        Complain(std::string("cannot watch for signals: ") + std::strerror(errno));
        return 1;
    }
    // The parent may have died between our start and the request; then no one would ever
    // send the signal.
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
        DieOf(SIGTERM);
    }
    // A reader that went away makes writes fail instead of killing us before the cleanup;
    // ffmpeg gets the disposition we were started with.
    struct sigaction originalPipe {};
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &originalPipe);

    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<TemporaryFile> temporary;
    const std::optional<std::size_t> outputAt = FindOutputArgument(args);
    std::string output;
    if (outputAt) {
        output = args[*outputAt];
        // ffmpeg takes the format from the output's extension unless told it, and a /proc
        // path has none.
        temporary = ReserveTemporary(
            output, kind == Temporary::UnnamedWherePossible && OutputFormatNamed(args, *outputAt));
        if (temporary) {
            args[*outputAt] = temporary->path;
        }
    }
    std::vector<char*> childArgv;
    childArgv.push_back(const_cast<char*>(ffmpeg));
    for (auto& arg : args) {
        childArgv.push_back(arg.data());
    }
    childArgv.push_back(nullptr);
    const std::string execFailed = std::string("ffmpeg: cannot run ") + ffmpeg + "\n";

    std::array<int, 2> messages{};
    if (pipe2(messages.data(), O_CLOEXEC) != 0) {
        Complain(std::string("cannot make a pipe: ") + std::strerror(errno));
        if (temporary) {
            Discard(*temporary);
        }
        return 1;
    }
    const pid_t front = getpid();
    const pid_t child = fork();
    if (child == 0) {
        sigprocmask(SIG_SETMASK, &originalMask, nullptr);
        sigaction(SIGPIPE, &originalPipe, nullptr);
        // Not SIGTERM: an ffmpeg blocked in open() ignores that, and no one would be left to
        // follow it with SIGKILL.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != front) {
            _exit(128 + SIGKILL);
        }
        if (temporary && temporary->unnamed && fcntl(temporary->descriptor, F_SETFD, 0) != 0) {
            _exit(127);
        }
        // ffmpeg reads keys from its standard input while it works.
        const int nothing = open("/dev/null", O_RDONLY);
        if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 ||
            dup2(messages[1], STDERR_FILENO) < 0) {
            _exit(127);
        }
        execv(ffmpeg, childArgv.data());
        WriteAll(STDERR_FILENO, execFailed);
        _exit(127);
    }
    close(messages[1]);
    if (child < 0) {
        Complain(std::string("cannot start: ") + std::strerror(errno));
        close(messages[0]);
        if (temporary) {
            Discard(*temporary);
        }
        return 1;
    }

    int stoppedBy = 0;
    // While a stopped ffmpeg has not been killed yet.
    bool killPending = false;
    Clock::time_point killAt;
    auto stop = [&](int signalNumber) {
        if (signalNumber == 0) {
            return;
        }
        if (stoppedBy == 0) {
            stoppedBy = signalNumber;
            killPending = true;
            killAt = Clock::now() + kKillGrace;
        }
        kill(child, signalNumber);
    };
    bool readerGone = false;
    StderrRewriter rewriter(
        [&](std::string_view line) {
            // ffmpeg itself goes on when its messages can no longer be written; so do we.
            readerGone = readerGone || !WriteAll(STDERR_FILENO, line);
        },
        temporary ? temporary->path : std::string(), output);
    std::array<char, 64 * 1024> buffer{};
    std::array<pollfd, 2> watched = {pollfd{messages[0], POLLIN, 0}, pollfd{signals, POLLIN, 0}};
    for (;;) {
        int timeoutMs = -1;
        if (killPending) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(killAt - Clock::now()).count();
            if (left <= 0) {
                kill(child, SIGKILL);
                killPending = false;
            } else {
                timeoutMs = static_cast<int>(left);
            }
        }
        if (poll(watched.data(), watched.size(), timeoutMs) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (watched[1].revents & POLLIN) {
            stop(TakeSignal(signals));
        }
        if (watched[0].revents != 0) {
            const ssize_t n = read(messages[0], buffer.data(), buffer.size());
            if (n > 0) {
                rewriter.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
            } else if (n == 0 || errno != EINTR) {
                break;
            }
        }
    }
    rewriter.Finish();
    close(messages[0]);

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // A signal that came while ffmpeg was ending still means the run was stopped.
    if (stoppedBy == 0) {
        stoppedBy = TakeSignal(signals);
    }
    const bool succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0 && stoppedBy == 0;
    if (temporary) {
        if (!succeeded) {
            Discard(*temporary);
        } else if (const auto failure = Keep(*temporary, output)) {
            // A success that kept the earlier output must not look like one.
            Complain(*failure);
            return 1;
        }
    }
    if (stoppedBy != 0) {
        DieOf(stoppedBy);
    }
    if (WIFSIGNALED(status)) {
        DieOf(WTERMSIG(status));
    }
    return WEXITSTATUS(status);
}

}  // namespace ffront
