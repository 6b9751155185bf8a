#include <QAction>
#include <QDir>
#include <QFile>
#include <QMouseEvent>

#include <memory>
#include <string>
#include <vector>

#include "framework/Movie.h"
#include "framework/MoviePlayer.h"
#include "framework/ToolbarItem.h"
#include "support/ListTestUtil.h"
#include "support/MainFixture.h"
#include "support/SoundFiles.h"

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
    bool WaitForPlay(bool enabled, int ms = 5000) {
        return testutil::WaitUntil([&] { return PlayEnabled() == enabled; }, ms);
    }
};

TEST_F(Playback, TheFirstSelectedRowPlaysFromEachWayIn) {
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) {
        paths.push_back(AddTone("songs", "song " + std::to_string(i) + ".wav", 0.2));
    }
    struct Way {
        const char* name;
        std::function<void()> go;
    };
    const std::vector<Way> ways = {
        {"Play", [&] { window->TBPlay().Press(); }},
        {"double-click", [&] { List().RaiseDoubleClick(); }},
        {"PlayMusic", [&] { window->PlayMusic(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(WaitForPlay(true));
        window->Player().SetMovie(nullptr);
        Select({5, 2});
        way.go();
        EXPECT_EQ(Playing(), paths[2]);
        Select({4});
        way.go();
        EXPECT_EQ(Playing(), paths[4]);
    }
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(Playback, NoSelectionDoesNothingAndShowsNothing) {
    AddTone("songs", "a.wav", 0.2);
    window->TBPlay().Press();
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
        List().SetListIndex(row);
        window->TBPlay().Press();  // what a double-click or the menu would do
        List().RaiseDoubleClick();
        EXPECT_EQ(ui->Messages(), (std::vector<std::string>{kNotFound, kNotFound}));
        testutil::RunFor(300);
        EXPECT_EQ(Playing(), playing);
        EXPECT_FALSE(PlayEnabled());
    }
    window->TBStop().Press();
    EXPECT_TRUE(WaitForPlay(true));
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

    window->TBStop().Press();  // nothing plays
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
    window->TBStop().Press();
    EXPECT_TRUE(WaitForPlay(true, 1000));

    // While one plays, a double-click on another row switches to it, and Play stays disabled.
    window->PlayMusic();
    ASSERT_TRUE(WaitForPlay(false));
    List().SetListIndex(0);
    List().RaiseDoubleClick();
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

// Through the real widget: a double-click on a row plays it.
TEST_F(Playback, ADoubleClickOnARowPlaysIt) {
    AddTone("songs", "a.wav", 0.2);
    const std::string b = AddTone("songs", "b.wav", 0.2);
    listtest::DoubleClickCell(List(), 1, 0, 10, 9);
    EXPECT_EQ(Playing(), b);
    EXPECT_TRUE(WaitForPlay(false));
}

}  // namespace
