#include "framework/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QThread>

#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>

#include "framework/Dispatch.h"

namespace fw {

namespace {

// How long an ended command's group may take to clean up (the ffmpeg front removes its
// temporary file) before it is killed outright.
constexpr auto kGroupGrace = std::chrono::milliseconds(3000);

// Whether a process of the group still runs. An ended member that its new parent has not
// reaped yet still counts for kill(), and some init processes take a second or more to reap.
bool GroupAlive(pid_t group) {
    if (::kill(-group, 0) != 0 && errno == ESRCH) {
        return false;
    }
    const QDir proc("/proc");
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        entry.toInt(&number);
        if (!number) {
            continue;
        }
        QFile stat(proc.filePath(entry + "/stat"));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // pid (comm) state ppid pgrp ...; the name may hold spaces and parentheses.
        const QByteArray line = stat.readAll();
        const auto fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields[0] != "Z" && fields[2].toInt() == group) {
            return true;
        }
    }
    return false;
}

// Signals the whole group, then waits for it to be gone; what is left after the grace is
// killed. The process object reaps /bin/sh itself.
void EndGroup(QProcess& process, pid_t group) {
    if (group <= 0) {
        return;
    }
    ::kill(-group, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kGroupGrace;
    while (std::chrono::steady_clock::now() < deadline) {
        if (process.state() != QProcess::NotRunning) {
            process.waitForFinished(20);
        } else if (!GroupAlive(group)) {
            return;
        } else {
            QThread::msleep(10);
        }
    }
    ::kill(-group, SIGKILL);
    process.waitForFinished(1000);
}

}  // namespace

struct Shell::Impl {
    QProcess* process = nullptr;
    // The command's process group: the shell's pid, kept after the shell itself has ended,
    // since what it started in the background may still run.
    pid_t group = 0;
    QMetaObject::Connection quitting;

    // Drops the process object without any event reaching the program, ending its command.
    // Within one of the object's own signals it must outlive the call: `later` defers that.
    void Discard(bool later) {
        if (process == nullptr) {
            return;
        }
        QObject::disconnect(process, nullptr, nullptr, nullptr);
        if (group > 0 && (process->state() != QProcess::NotRunning || GroupAlive(group))) {
            EndGroup(*process, group);
        }
        if (later) {
            process->deleteLater();
        } else {
            delete process;
        }
        process = nullptr;
        group = 0;
    }
};

Shell::Shell() : impl_(std::make_unique<Impl>()) {
    DeclareEvent<void(Shell&)>("DataAvailable", "(  )");
    DeclareEvent<void(Shell&)>("Completed", "(  )");
    if (auto* app = QCoreApplication::instance()) {
        impl_->quitting =
            QObject::connect(app, &QCoreApplication::aboutToQuit, [this] { Close(); });
    }
}

Shell::~Shell() {
    QObject::disconnect(impl_->quitting);
    impl_->Discard(false);
}

void Shell::Execute(const std::string& commandLine) {
    impl_->Discard(true);
    errorCode_ = -1;
    exitedNormally_ = false;

    auto* process = new QProcess;
    impl_->process = process;
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setChildProcessModifier([] {
        // Runs in the child between fork and exec: only async-signal-safe calls here.
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });

    // The command's end, whichever way it came: its status is kept and Completed raised once.
    auto ended = [this, process](bool normally, Int32 code) {
        exitedNormally_ = normally;
        errorCode_ = normally ? code : -1;
        Dispatch([this] { Raise<void(Shell&)>("Completed", *this); });
        // The handler may have started the next command on a new process.
        if (impl_->process == process) {
            impl_->process = nullptr;
            impl_->group = 0;
            process->deleteLater();
        }
    };
    QObject::connect(process, &QProcess::readyRead, process,
                     [this] { Dispatch([this] { Raise<void(Shell&)>("DataAvailable", *this); }); });
    QObject::connect(process, &QProcess::finished, process,
                     [ended](int code, QProcess::ExitStatus status) {
                         ended(status == QProcess::NormalExit, code);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [ended, process](QProcess::ProcessError error) {
                         // No finished signal follows a start that failed, and the failure
                         // may be reported from inside start(): the end waits for the loop.
                         if (error == QProcess::FailedToStart) {
                             QMetaObject::invokeMethod(
                                 process, [ended] { ended(true, 127); }, Qt::QueuedConnection);
                         }
                     });
    process->start("/bin/sh", {"-c", QString::fromStdString(commandLine)});
    // Known as soon as the shell is forked, before any of its signals.
    impl_->group = static_cast<pid_t>(process->processId());
}

std::string Shell::ReadAll() {
    if (impl_->process == nullptr) {
        return {};
    }
    const QByteArray bytes = impl_->process->readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool Shell::IsRunning() const {
    return impl_->process != nullptr && impl_->process->state() != QProcess::NotRunning;
}

void Shell::Close() {
    impl_->Discard(true);
}

const PropertyTable& Shell::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t;
        t.Add("TimeOut", PropType::Int32, [](PropertyHolder& h, const PropValue& v) {
            static_cast<Shell&>(h).timeOut_ = std::get<Int32>(v);
        });
        t.Add("Mode", PropType::Int32, [](PropertyHolder& h, const PropValue& v) {
            static_cast<Shell&>(h).mode_ = std::get<Int32>(v);
        });
        return t;
    }();
    return table;
}

namespace {

int g_signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

void InstallQuitOnTerminationSignals() {
    if (g_signalPipe[0] >= 0 || QCoreApplication::instance() == nullptr) {
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalPipe) != 0) {
        return;
    }
    auto* notifier =
        new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        // Only the loop is ended: the windows go once it has returned, as after the last one
        // was closed. Closing them here could destroy a window under a dialog, a message box or
        // a menu whose own loop is still on the stack.
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace fw
