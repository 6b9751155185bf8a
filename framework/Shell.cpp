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
#include "framework/Window.h"

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
void EndGroup(QProcess& process) {
    const pid_t group = static_cast<pid_t>(process.processId());
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
    QMetaObject::Connection quitting;

    // The process object is dropped without any event reaching the program.
    void Discard() {
        if (process == nullptr) {
            return;
        }
        QObject::disconnect(process, nullptr, nullptr, nullptr);
        if (process->state() != QProcess::NotRunning || process->processId() > 0) {
            EndGroup(*process);
        }
        // It may be the sender of the signal being handled: delete it once that is over.
        process->deleteLater();
        process = nullptr;
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
    if (impl_->process != nullptr) {
        QObject::disconnect(impl_->process, nullptr, nullptr, nullptr);
        if (impl_->process->state() != QProcess::NotRunning) {
            EndGroup(*impl_->process);
        }
        delete impl_->process;
        impl_->process = nullptr;
    }
}

void Shell::Execute(const std::string& commandLine) {
    impl_->Discard();
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

    QObject::connect(process, &QProcess::readyRead, process,
                     [this] { Dispatch([this] { Raise<void(Shell&)>("DataAvailable", *this); }); });
    QObject::connect(process, &QProcess::finished, process,
                     [this, process](int code, QProcess::ExitStatus status) {
                         exitedNormally_ = status == QProcess::NormalExit;
                         errorCode_ = exitedNormally_ ? code : -1;
                         Dispatch([this] { Raise<void(Shell&)>("Completed", *this); });
                         // The handler may have started the next command on a new process.
                         if (impl_->process == process) {
                             impl_->process = nullptr;
                             process->deleteLater();
                         }
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [this, process](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) {
                             return;
                         }
                         // No finished signal follows a start that failed.
                         exitedNormally_ = true;
                         errorCode_ = 127;
                         Dispatch([this] { Raise<void(Shell&)>("Completed", *this); });
                         if (impl_->process == process) {
                             impl_->process = nullptr;
                             process->deleteLater();
                         }
                     });
    process->start("/bin/sh", {"-c", QString::fromStdString(commandLine)});
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
    impl_->Discard();
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
        Dispatch([] {
            Window::CloseAll();
            QCoreApplication::quit();
        });
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
