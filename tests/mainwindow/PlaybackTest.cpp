#include <QAction>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>

#include <chrono>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Movie.h"
#include "framework/MoviePlayer.h"
#include "framework/ToolbarItem.h"
#include "support/ListTestUtil.h"
#include "support/MainFixture.h"
#include "support/SoundFiles.h"
#include "support/Watchdog.h"

// The player plays for real here, on ALSA's null device (the test's environment).
namespace {

const char* const kNotFound = "파일을 찾을 수 없습니다.";

class Playback : public MainFixture {
protected:
    // A sound file of that length in a folder of the temporary folder, added as a row.
    std::string AddTone(const std::string& folder, const std::string& name, double seconds) {
        const QString where = dir.filePath(QString::fromStdString(folder));
        EXPECT_TRUE(QDir().mkpath(where));
        const QString path = QDir(where).filePath(QString::fromStdString(name));
        testutil::MakeTone(path, seconds);
        window->AddAudioRow(std::make_shared<fw::FolderItem>(path.toStdString()));
        return path.toStdString();
    }
    // Rows of short tones "song 0.wav" and on; their paths.
    std::vector<std::string> AddSongs(int count) {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(AddTone("songs", "song " + std::to_string(i) + ".wav", 0.2));
        }
        return paths;
    }
    std::string Playing() {
        const auto& movie = window->Player().Movie();
        return movie ? movie->Path() : std::string("(none)");
    }
    void Select(std::initializer_list<fw::Int32> rows) {
        List().SetListIndex(-1);
        for (fw::Int32 r : rows) {
            List().SetSelected(r, true);
        }
    }
    bool PlayEnabled() { return window->TBPlay().Enabled(); }
    // A press of the item's own button on the toolbar, as the user makes it.
    void ClickToolbar(fw::ToolbarItem& item) {
        QCoreApplication::processEvents();
        QWidget* button = window->Toolbar()->widgetForAction(item.Action());
        ASSERT_NE(button, nullptr) << item.Caption();
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    void DoubleClickRow(fw::Int32 row, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        listtest::DoubleClickCell(List(), row, 0, 10, 9, keys);
    }
    bool WaitForPlay(bool enabled, int ms = 5000) {
        return testutil::WaitUntil([&] { return PlayEnabled() == enabled; }, ms);
    }
};

// Play on the toolbar and the menu's entry (which calls PlayMusic) play the selected row with the
// lowest index.
TEST_F(Playback, TheFirstSelectedRowPlaysFromEachWayIn) {
    const std::vector<std::string> paths = AddSongs(6);
    struct Way {
        const char* name;
        std::function<void()> go;
    };
    const std::vector<Way> ways = {
        {"Play", [&] { ClickToolbar(window->TBPlay()); }},
        {"PlayMusic", [&] { window->PlayMusic(); }},
    };
    const std::vector<std::pair<std::vector<fw::Int32>, std::size_t>> selections = {
        {{5, 2}, 2}, {{4}, 4}, {{1, 3, 0}, 0}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        for (const auto& [rows, plays] : selections) {
            // The toolbar's Play can be pressed only when nothing plays.
            ASSERT_TRUE(WaitForPlay(true));
            window->Player().SetMovie(nullptr);
            Select({});
            for (fw::Int32 r : rows) {
                List().SetSelected(r, true);
            }
            way.go();
            EXPECT_EQ(Playing(), paths[plays]);
        }
    }
    EXPECT_TRUE(ui->Messages().empty());
}

// Through the list's own widget. A plain double-click selects the row under it alone and plays
// it; with Ctrl held the row joins the selection, and the first selected row is what plays.
TEST_F(Playback, ADoubleClickPlaysTheFirstSelectedRow) {
    const std::vector<std::string> paths = AddSongs(5);
    struct Case {
        const char* name;
        fw::Int32 selected;  // before the double-click; -1 for none
        fw::Int32 clicked;
        Qt::KeyboardModifiers keys;
        std::size_t plays;
    };
    const std::vector<Case> cases = {
        {"nothing selected", -1, 2, Qt::NoModifier, 2},
        {"plain, below the selection", 1, 3, Qt::NoModifier, 3},
        {"plain, above the selection", 3, 1, Qt::NoModifier, 1},
        {"Ctrl, below the selection", 1, 4, Qt::ControlModifier, 1},
        {"Ctrl, above the selection", 3, 0, Qt::ControlModifier, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->Player().SetMovie(nullptr);
        List().SetListIndex(c.selected);
        DoubleClickRow(c.clicked, c.keys);
        EXPECT_EQ(Playing(), paths[c.plays]);
        EXPECT_TRUE(List().Selected(c.clicked));
    }
    EXPECT_TRUE(WaitForPlay(false));
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(Playback, NoSelectionDoesNothingAndShowsNothing) {
    AddTone("songs", "a.wav", 0.2);
    ClickToolbar(window->TBPlay());
    List().RaiseDoubleClick();
    testutil::RunFor(200);
    EXPECT_EQ(Playing(), "(none)");
    EXPECT_TRUE(PlayEnabled());
    EXPECT_TRUE(ui->requests.empty());
}

// Each space reaches the file item as backslash and space and is read back; nothing else in the
// name is escaped, so quotes, backslashes and letters of other scripts arrive unchanged.
TEST_F(Playback, AwkwardNamesAndFoldersAreFound) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a folder with spaces", "a name  with spaces .wav"},
        {"quotes 'and' \"more\"", "it's $HOME & `x`.wav"},
        {"back\\slash", "tab\\ and\\ space.wav"},
        {"폴더 이름", "strângë chàrs фズ.wav"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].second);
        const std::string path = AddTone(cases[i].first, cases[i].second, 0.2);
        List().SetListIndex(static_cast<fw::Int32>(i));
        window->PlayMusic();
        EXPECT_EQ(Playing(), path);
    }
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(Playback, ARowPlaysItsSourceWhateverItsStatus) {
    const std::string source = AddTone("songs", "busy.wav", 0.2);
    // The files a conversion would leave beside it are never what plays.
    QFile(QString::fromStdString(source).replace(".wav", "-128k.mp3")).open(QIODevice::WriteOnly);
    for (const char* status : {"Converting...", "Complete", "Failed", "Ready"}) {
        SCOPED_TRACE(status);
        List().SetCell(0, 7, status);
        List().SetListIndex(0);
        window->Player().SetMovie(nullptr);
        window->PlayMusic();
        EXPECT_EQ(Playing(), source);
    }
}

// What plays goes on playing when the row asked for next is gone.
TEST_F(Playback, AMissingFileOrFolderIsReportedAndWhatPlaysGoesOn) {
    const std::string playing = AddTone("songs", "long.wav", 5.0);
    const std::string deleted = AddTone("songs", "deleted.wav", 0.2);
    AddTone("gone folder", "lost.wav", 0.2);
    List().SetListIndex(0);
    window->PlayMusic();
    ASSERT_TRUE(WaitForPlay(false));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(deleted)));
    ASSERT_TRUE(QDir(dir.filePath("gone folder")).removeRecursively());

    for (fw::Int32 row : {1, 2}) {
        SCOPED_TRACE(row);
        ui->requests.clear();
        DoubleClickRow(row);
        window->PlayMusic();  // what the menu's entry does
        EXPECT_EQ(ui->Messages(), (std::vector<std::string>{kNotFound, kNotFound}));
        testutil::RunFor(300);
        EXPECT_EQ(Playing(), playing);
        EXPECT_FALSE(PlayEnabled());
    }
    ClickToolbar(window->TBStop());
    EXPECT_TRUE(WaitForPlay(true));
}

// Play is disabled while something plays, and a press of its button then does nothing: the same
// press on the enabled button reports the selected row's missing file.
TEST_F(Playback, PressingPlayWhileItIsDisabledDoesNothing) {
    const std::string playing = AddTone("songs", "long.wav", 5.0);
    const std::string gone = AddTone("songs", "gone.wav", 0.2);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(gone)));
    const std::vector<std::string> once = {kNotFound};

    List().SetListIndex(1);
    ClickToolbar(window->TBPlay());
    EXPECT_EQ(ui->Messages(), once);
    List().SetListIndex(0);
    ClickToolbar(window->TBPlay());
    EXPECT_EQ(Playing(), playing);
    ASSERT_TRUE(WaitForPlay(false));

    ui->requests.clear();
    List().SetListIndex(1);
    ClickToolbar(window->TBPlay());
    testutil::RunFor(200);
    EXPECT_TRUE(ui->requests.empty());
    EXPECT_EQ(Playing(), playing);

    ClickToolbar(window->TBStop());
    ASSERT_TRUE(WaitForPlay(true, 2000));
    ClickToolbar(window->TBPlay());
    EXPECT_EQ(ui->Messages(), once);
}

// Play is disabled from the player's Play to its Stop: at the file's end, after Stop, and after a
// file that turns out not to be playable. Stop itself is never disabled.
TEST_F(Playback, PlayFollowsThePlayer) {
    AddTone("songs", "short.wav", 1.0);
    AddTone("songs", "long.wav", 5.0);
    AddRows({"empty.wav", "not audio.mp3"});
    QFile text(dir.filePath("not audio.mp3"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no sound here\n");
    text.close();

    ClickToolbar(window->TBStop());  // nothing plays
    testutil::RunFor(300);
    EXPECT_TRUE(PlayEnabled());
    EXPECT_TRUE(window->TBStop().Enabled());

    // A real file plays to its end.
    List().SetListIndex(0);
    window->PlayMusic();
    ASSERT_TRUE(WaitForPlay(false));
    EXPECT_TRUE(window->TBStop().Enabled());
    EXPECT_TRUE(WaitForPlay(true, 5000));

    // Stop ends it early.
    List().SetListIndex(1);
    window->PlayMusic();
    ASSERT_TRUE(WaitForPlay(false));
    ClickToolbar(window->TBStop());
    EXPECT_TRUE(WaitForPlay(true, 1000));

    // While one plays, a double-click on another row switches to it, and Play stays disabled.
    window->PlayMusic();
    ASSERT_TRUE(WaitForPlay(false));
    DoubleClickRow(0);
    EXPECT_EQ(Playing(), List().Cell(0, 2) + "/short.wav");
    testutil::RunFor(300);
    EXPECT_FALSE(PlayEnabled());
    EXPECT_TRUE(WaitForPlay(true, 5000));

    // What the toolbar shows, each time Play's state changes.
    std::vector<bool> shown;
    QObject::connect(window->TBPlay().Action(), &QAction::changed, [&] {
        if (shown.empty() || shown.back() != PlayEnabled()) {
            shown.push_back(PlayEnabled());
        }
    });
    for (fw::Int32 row : {2, 3}) {
        SCOPED_TRACE(row);
        shown.clear();
        List().SetListIndex(row);
        window->PlayMusic();
        EXPECT_TRUE(testutil::WaitUntil([&] { return shown.size() >= 2; }, 5000));
        EXPECT_EQ(shown, (std::vector<bool>{false, true}));
    }
    EXPECT_TRUE(ui->Messages().empty());
}

// The sound is on whenever a row plays, whatever the player's Speaker was before: what the
// backend plays into is not muted. (On the null device no level can be heard; the output that
// the backend player uses is what shows it.)
TEST_F(Playback, ARowPlaysWithItsSoundOn) {
    AddTone("songs", "a.wav", 0.5);
    window->Player().SetSpeaker(false);
    List().SetListIndex(0);
    window->PlayMusic();
    QMediaPlayer* backend = window->Player().Backend();
    ASSERT_NE(backend, nullptr);
    ASSERT_NE(backend->audioOutput(), nullptr);
    EXPECT_FALSE(backend->audioOutput()->isMuted());
    EXPECT_GT(backend->audioOutput()->volume(), 0.0f);
    EXPECT_TRUE(window->Player().Speaker());
}

// Random use of playback through the window's own widgets, seeded: double-clicks on rows, Play
// and Stop on the toolbar, rows whose file is missing or holds no sound, rows removed with the
// Delete key, and pauses that let files play to their ends. The window must come back from every
// action: a watchdog ends the process, naming the seed, when one does not. After every action
// the player holds the file last asked for, and each missing file was reported once; after a
// Stop, Play comes back. `--seed=N` on the command line replays one sequence.
class PlaybackStress : public Playback {
protected:
    static constexpr int kActions = 500;

    static std::vector<unsigned> Seeds() {
        for (const QString& a : QCoreApplication::arguments()) {
            if (a.startsWith("--seed=")) {
                return {a.mid(7).toUInt()};
            }
        }
        return {1};
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    // The files rows are made of; a row of the missing one reports it, the others play (the
    // text file fails in the backend, which the player sees as an end).
    void MakePool() {
        const double lengths[] = {0.3, 0.6, 1.0, 1.5, 2.5};
        for (double seconds : lengths) {
            const QString path = dir.filePath(QString("tone %1.wav").arg(seconds));
            ASSERT_TRUE(testutil::MakeTone(path, seconds));
            pool.push_back(path.toStdString());
        }
        QFile text(dir.filePath("not audio.mp3"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("no sound here\n");
        text.close();
        pool.push_back(text.fileName().toStdString());
        missing = dir.filePath("missing.wav").toStdString();
        QFile(QString::fromStdString(missing)).open(QIODevice::WriteOnly);
        window->AddAudioRow(std::make_shared<fw::FolderItem>(missing));
        ASSERT_TRUE(QFile::remove(QString::fromStdString(missing)));
        pool.push_back(missing);
        for (std::size_t i = 0; i + 1 < pool.size(); ++i) {
            window->AddAudioRow(std::make_shared<fw::FolderItem>(pool[i]));
        }
    }

    std::string PathOf(fw::Int32 row) { return List().Cell(row, 2) + "/" + List().Cell(row, 0); }

    // What PlayMusic does with the first selected row, in the model.
    void ExpectPlayOf(fw::Int32 row) {
        if (row < 0) {
            return;
        }
        if (PathOf(row) == missing) {
            ++reports;
        } else {
            expected = PathOf(row);
        }
    }

    // One action; false with `failure` set when a promise was broken.
    bool Act() {
        const int rows = List().ListCount();
        const int kind = Pick(0, 99);
        if (kind < 45) {
            const fw::Int32 row = Pick(0, rows - 1);
            log << " dbl" << row;
            DoubleClickRow(row);
            ExpectPlayOf(row);
        } else if (kind < 65) {
            QCoreApplication::processEvents();
            const bool enabled = PlayEnabled();
            log << " play" << (enabled ? "" : "(off)");
            ClickToolbar(window->TBPlay());
            if (enabled) {
                ExpectPlayOf(List().ListIndex());
            }
        } else if (kind < 80) {
            log << " stop";
            ClickToolbar(window->TBStop());
            if (!WaitForPlay(true, 10000)) {
                failure = "Play stayed disabled after Stop";
                return false;
            }
        } else if (kind < 88) {
            const fw::Int32 row = Pick(0, rows - 1);
            log << " del" << row;
            listtest::ClickCell(List(), row, 0, 10, 9);
            QTest::keyClick(listtest::View(List()), Qt::Key_Delete);
            if (List().ListCount() != rows - 1) {
                failure = "the row was not removed";
                return false;
            }
            if (List().ListCount() < 4) {
                const std::string& path = pool[Pick(0, static_cast<int>(pool.size()) - 1)];
                log << " add";
                window->AddAudioRow(std::make_shared<fw::FolderItem>(path));
            }
        } else {
            const int ms = Pick(20, 600);
            log << " wait" << ms;
            testutil::RunFor(ms);
        }
        QCoreApplication::processEvents();
        if (Playing() != expected) {
            failure = "plays " + Playing() + " where " + expected + " was asked for";
            return false;
        }
        if (ui->Messages().size() != reports) {
            failure = std::to_string(ui->Messages().size()) + " messages for " +
                      std::to_string(reports) + " missing files";
            return false;
        }
        return true;
    }

    std::mt19937 rng;
    std::ostringstream log;
    std::string failure;
    std::vector<std::string> pool;
    std::string missing;
    std::string expected = "(none)";
    std::size_t reports = 0;
};

TEST_F(PlaybackStress, RandomSwitchingNeverFreezesTheWindow) {
    MakePool();
    testutil::Watchdog watchdog(std::chrono::seconds(60));
    for (const unsigned seed : Seeds()) {
        rng.seed(seed);
        log.str("");
        bool kept = true;
        for (int step = 0; step < kActions && kept; ++step) {
            watchdog.Step("seed " + std::to_string(seed) + ", action " + std::to_string(step) +
                          ":" + log.str());
            kept = Act();
        }
        ASSERT_TRUE(kept) << "seed " << seed << ": " << failure << "\nsequence:" << log.str()
                          << "\nreplay with --seed=" << seed;
        ClickToolbar(window->TBStop());
        ASSERT_TRUE(WaitForPlay(true, 10000)) << "seed " << seed;
    }
    // And the player still plays.
    window->AddAudioRow(std::make_shared<fw::FolderItem>(pool[4]));  // the longest tone
    List().SetListIndex(List().LastIndex());
    ClickToolbar(window->TBPlay());
    EXPECT_EQ(Playing(), PathOf(List().LastIndex()));
    EXPECT_TRUE(WaitForPlay(false));
}

}  // namespace
