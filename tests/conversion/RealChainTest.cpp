#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <signal.h>
#include <sys/stat.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/ConversionFixture.h"
#include "support/Processes.h"
#include "support/SoundFiles.h"

// The real chain: the window, the shell, the ffmpeg front of the built Resources folder and
// the system's ffmpeg, on WAV files that ffmpeg generates.
namespace {

bool RunQuietly(const QString& program, const QStringList& args, QByteArray* out = nullptr) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
        return false;
    }
    if (out != nullptr) {
        *out = p.readAllStandardOutput().trimmed();
    }
    return p.exitCode() == 0;
}

// The audio stream's bit rate as ffprobe reads it, or "" when the file is no audio.
std::string BitRate(const QString& path) {
    QByteArray out;
    if (!RunQuietly("ffprobe",
                    {"-v", "error", "-select_streams", "a:0", "-show_entries",
                     "stream=bit_rate,codec_name", "-of", "default=nw=1", path},
                    &out)) {
        return "";
    }
    return out.toStdString();
}

QByteArray Checksum(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The running processes (zombies aside) whose command line mentions the text.
std::vector<int> ProcessesMentioning(const QString& text) {
    std::vector<int> pids;
    const QByteArray needle = text.toUtf8();
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int pid = entry.toInt(&number);
        if (!number || pid == QCoreApplication::applicationPid()) {
            continue;
        }
        QFile cmdline("/proc/" + entry + "/cmdline");
        if (!testproc::Running(pid) || !cmdline.open(QIODevice::ReadOnly)) {
            continue;
        }
        if (cmdline.readAll().contains(needle)) {
            pids.push_back(pid);
        }
    }
    return pids;
}

std::set<std::string> FilesIn(const QString& folder) {
    std::set<std::string> names;
    for (const QString& n : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System |
                                                   QDir::Dirs | QDir::NoDotAndDotDot)) {
        names.insert(n.toStdString());
    }
    return names;
}

// Starts the application as main does, converting `source`.
void StartConverting(QProcess& app, const QString& source,
                     const std::map<QString, QString>& settings = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : settings) {
        env.insert(name, value);
    }
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    app.start(TUNEMILL_CONVERTING_APP, {source});
}

class RealChain : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        reportsBefore = fw::UnhandledExceptionCount();
    }
    void TearDown() override {
        EXPECT_EQ(fw::UnhandledExceptionCount(), reportsBefore);
        MainFixture::TearDown();
    }
    QString Path(const std::string& name) { return dir.filePath(QString::fromStdString(name)); }
    bool WaitForRunEnd(const std::function<void()>& each = {}, int ms = 120000) {
        QElapsedTimer timer;
        timer.start();
        while (!window->TBConvert().Enabled()) {
            if (timer.elapsed() > ms) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (each) {
                each();
            }
        }
        return true;
    }
    fw::Int32 Progress(int row) {
        return fw::VariantCast<CustomListboxCell>(List().CellTag(row, 4))->getValue();
    }
    int reportsBefore = 0;
};

TEST_F(RealChain, ThreeFilesAtThreeRatingsBecomeMp3sAtThoseBitRates) {
    const std::vector<std::string> names = {"plain.wav", "it's a tone.wav", "노래 두 곡.wav"};
    std::map<std::string, QByteArray> sums;
    for (const auto& n : names) {
        ASSERT_TRUE(testutil::MakeTone(Path(n), 200)) << n;
        sums[n] = Checksum(Path(n));
        window->AddAudioRow(std::make_shared<fw::FolderItem>(Path(n).toStdString()));
    }
    List().Event_CellClick(0, 3, 3, 5);   // one star
    List().Event_CellClick(2, 3, 42, 5);  // three stars

    window->TBConvert_Action(window->TBConvert());
    EXPECT_FALSE(window->TBConvert().Enabled());
    std::set<fw::Int32> between;
    ASSERT_TRUE(WaitForRunEnd([&] {
        for (int r = 0; r < List().ListCount(); ++r) {
            const fw::Int32 p = Progress(r);
            if (p > 0 && p < 100) {
                between.insert(p);
            }
        }
    }));
    EXPECT_FALSE(between.empty()) << "no progress was seen between 0 and 100";

    const std::vector<std::pair<std::string, std::string>> outputs = {
        {"plain-96k.mp3", "codec_name=mp3\nbit_rate=96000"},
        {"it's a tone-128k.mp3", "codec_name=mp3\nbit_rate=128000"},
        {"노래 두 곡-192k.mp3", "codec_name=mp3\nbit_rate=192000"},
    };
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(List().Cell(r, 7), "Complete") << r;
        EXPECT_EQ(Progress(r), 100) << r;
        EXPECT_EQ(BitRate(Path(outputs[r].first)), outputs[r].second) << outputs[r].first;
    }
    for (const auto& n : names) {
        EXPECT_EQ(Checksum(Path(n)), sums[n]) << "the source changed: " << n;
    }
    EXPECT_TRUE(window->TBConvert().Enabled());
    EXPECT_EQ(window->Duration, -1);
    // Nothing but the sources and their MP3s: no temporary file is left behind.
    EXPECT_EQ(FilesIn(dir.path()).size(), 6u);
}

TEST_F(RealChain, HostileNamesAreConvertedAndNeverExecuted) {
    const std::vector<std::string> stems = {
        "single ' quote",     "double \" quote",
        "$(touch marker)",    "back`touch marker`tick",
        "semi; touch marker", "-leading dash",
        "back\\slash",        "tab\there",
        "two  spaces",        "한국어 이름",
        "emoji 🎵🎶",           std::string(236, 'n'),  // 240 bytes with ".wav"; its output has 245
    };
    for (const auto& s : stems) {
        ASSERT_TRUE(testutil::MakeTone(Path(s + ".wav"), 1)) << s;
        window->AddAudioRow(std::make_shared<fw::FolderItem>(Path(s + ".wav").toStdString()));
    }
    window->TBConvert_Action(window->TBConvert());
    ASSERT_TRUE(WaitForRunEnd());
    for (int r = 0; r < List().ListCount(); ++r) {
        EXPECT_EQ(List().Cell(r, 7), "Complete") << stems[r];
        EXPECT_EQ(BitRate(Path(stems[r] + "-128k.mp3")), "codec_name=mp3\nbit_rate=128000")
            << stems[r];
    }
    EXPECT_FALSE(QFile::exists(Path("marker")));
    EXPECT_FALSE(QFile::exists("marker"));
    EXPECT_FALSE(QFile::exists(QDir::home().filePath("marker")));
}

TEST_F(RealChain, BadInputFailsItsRowAndTheRunGoesOn) {
    ASSERT_TRUE(testutil::MakeTone(Path("deleted.wav"), 1));
    ASSERT_TRUE(testutil::MakeTone(Path("blocked.wav"), 1));
    ASSERT_TRUE(testutil::MakeTone(Path("good.wav"), 1));
    {
        QFile corrupt(Path("corrupt.wav"));
        ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
        corrupt.write(QByteArray(4096, '\x5a'));
    }
    // A folder where the output should go: it cannot be written as a file.
    ASSERT_TRUE(QDir().mkdir(Path("blocked-128k.mp3")));
    for (const char* n : {"deleted.wav", "corrupt.wav", "blocked.wav", "good.wav"}) {
        window->AddAudioRow(std::make_shared<fw::FolderItem>(Path(n).toStdString()));
    }
    ASSERT_TRUE(QFile::remove(Path("deleted.wav")));

    window->TBConvert_Action(window->TBConvert());
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(List().Cell(0, 7), "Failed");
    EXPECT_EQ(List().Cell(1, 7), "Failed");
    EXPECT_EQ(List().Cell(2, 7), "Failed");
    EXPECT_EQ(List().Cell(3, 7), "Complete");
    EXPECT_FALSE(QFile::exists(Path("deleted-128k.mp3")));
    EXPECT_FALSE(QFile::exists(Path("corrupt-128k.mp3")));
    EXPECT_TRUE(QFileInfo(Path("blocked-128k.mp3")).isDir());
    EXPECT_EQ(BitRate(Path("good-128k.mp3")), "codec_name=mp3\nbit_rate=128000");
    EXPECT_EQ(FilesIn(dir.path()),
              (std::set<std::string>{"blocked-128k.mp3", "blocked.wav", "corrupt.wav", "good.wav",
                                     "good-128k.mp3"}));
}

// The application ended mid-conversion, three ways: no ffmpeg may go on running, and no
// partial MP3 or temporary file may stay.
TEST_F(RealChain, EndingTheApplicationMidRunLeavesNothingRunning) {
    struct Case {
        const char* name;
        int signal;           // 0: the window is closed as the user closes it
        bool dialog = false;  // the open-file dialog is open when the signal comes
    };
    const std::vector<Case> cases = {{"window closed", 0},
                                     {"SIGTERM", SIGTERM},
                                     {"SIGINT", SIGINT},
                                     {"SIGHUP", SIGHUP},
                                     {"SIGKILL", SIGKILL},
                                     // Regression: the windows were destroyed under the dialog.
                                     {"SIGTERM with a dialog open", SIGTERM, true}};
    for (const auto& c : cases) {
        QTemporaryDir work;
        const QString source = work.filePath("long tone.wav");
        ASSERT_TRUE(testutil::MakeTone(source, 900));
        QProcess app;
        std::map<QString, QString> settings;
        if (c.signal == 0) {
            settings["CLOSE_AFTER_MS"] = "1200";
        }
        if (c.dialog) {
            settings["DIALOG_AFTER_MS"] = "100";
        }
        StartConverting(app, source, settings);
        ASSERT_TRUE(app.waitForStarted()) << c.name;

        // Until the real ffmpeg works on the file.
        QElapsedTimer timer;
        timer.start();
        bool running = false;
        while (!running && timer.elapsed() < 20000) {
            for (int pid : ProcessesMentioning(source)) {
                QFile exe(QString("/proc/%1/exe").arg(pid));
                running = running || exe.symLinkTarget().endsWith("/ffmpeg");
            }
            QThread::msleep(20);
        }
        ASSERT_TRUE(running) << c.name << ": ffmpeg never started";
        if (c.dialog) {
            while (!app.readAllStandardOutput().contains("dialog") && timer.elapsed() < 20000) {
                app.waitForReadyRead(100);
            }
        }
        if (c.signal != 0) {
            QThread::msleep(500);
            ::kill(static_cast<pid_t>(app.processId()), c.signal);
        }
        ASSERT_TRUE(app.waitForFinished(20000)) << c.name;
        if (c.signal != SIGKILL) {
            EXPECT_EQ(app.exitStatus(), QProcess::NormalExit) << c.name << " crashed";
            EXPECT_EQ(app.exitCode(), 0) << c.name;
        }

        timer.restart();
        while (!ProcessesMentioning(source).empty() && timer.elapsed() < 10000) {
            QThread::msleep(20);
        }
        EXPECT_TRUE(ProcessesMentioning(source).empty()) << c.name << ": ffmpeg left running";
        EXPECT_EQ(FilesIn(work.path()), std::set<std::string>{"long tone.wav"}) << c.name;
    }
}

// An input that never opens, as a FIFO without a writer or a hung network mount: ffmpeg waits
// in open(), where no stop signal that it handles reaches it. However the application ends,
// the whole chain must be gone soon after, leaving the earlier output as it was.
TEST_F(RealChain, EndedWhileFfmpegWaitsForItsInputLeavesNothingWithinFiveSeconds) {
    for (const int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGKILL");
        QTemporaryDir work;
        const QString source = work.filePath("a fifo.wav");
        ASSERT_EQ(::mkfifo(source.toUtf8().constData(), 0600), 0);
        const QString earlier = work.filePath("a fifo-128k.mp3");
        ASSERT_TRUE(testutil::MakeTone(earlier, 1));
        const QByteArray earlierSum = Checksum(earlier);
        QProcess app;
        StartConverting(app, source);
        ASSERT_TRUE(app.waitForStarted());

        QElapsedTimer timer;
        timer.start();
        bool waiting = false;
        while (!waiting && timer.elapsed() < 20000) {
            for (int pid : ProcessesMentioning(source)) {
                waiting = waiting || testproc::BlockedOpeningAFifo(pid);
            }
            QThread::msleep(20);
        }
        ASSERT_TRUE(waiting) << "ffmpeg never waited for its input";

        ::kill(static_cast<pid_t>(app.processId()), signal);
        timer.restart();
        EXPECT_TRUE(app.waitForFinished(5000));
        if (signal == SIGTERM) {
            EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(app.exitCode(), 0);
        }
        while (!ProcessesMentioning(source).empty() && timer.elapsed() < 5000) {
            QThread::msleep(20);
        }
        EXPECT_TRUE(ProcessesMentioning(source).empty()) << "left running after 5 s";
        EXPECT_EQ(FilesIn(work.path()), (std::set<std::string>{"a fifo-128k.mp3", "a fifo.wav"}));
        EXPECT_EQ(Checksum(earlier), earlierSum);
        // Whatever failed above, the next case and the suite must not wait on what was left.
        for (int pid : ProcessesMentioning(source)) {
            ::kill(pid, SIGKILL);
        }
    }
}

}  // namespace
