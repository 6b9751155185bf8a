#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/DragItem.h"
#include "framework/ListboxView.h"
#include "framework/ToolbarItem.h"
#include "support/MainFixture.h"
#include "support/WindowTestUtil.h"

namespace {

const char* const kFilePrompt = "변환할 음악 파일을 선택하세요.";
const char* const kFolderPrompt = "변환할 음악 폴더를 선택하세요.";

class FileIntake : public MainFixture {
protected:
    std::string PathOf(const std::string& name) {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    // Makes a folder in the temporary folder holding empty files of these names; a name ending
    // in "/" is a subfolder.
    std::string MakeFolder(const std::string& folder, const std::vector<std::string>& entries) {
        const QString root = dir.filePath(QString::fromStdString(folder));
        EXPECT_TRUE(QDir().mkpath(root));
        for (const auto& e : entries) {
            const QString path = QDir(root).filePath(QString::fromStdString(e));
            if (!e.empty() && e.back() == '/') {
                EXPECT_TRUE(QDir().mkpath(path)) << e;
                continue;
            }
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << e;
        }
        return root.toStdString();
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> out;
        for (int r = 0; r < List().ListCount(); ++r) {
            out.push_back(List().Cell(r, column));
        }
        return out;
    }
    fw::ListboxView& View() { return *static_cast<fw::ListboxView*>(List().Widget()); }

    // What the system's drag and drop delivers to the list's viewport.
    std::unique_ptr<QMimeData> Mime(const std::vector<std::string>& paths) {
        auto mime = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const auto& p : paths) {
            urls << QUrl::fromLocalFile(QString::fromStdString(p));
        }
        mime->setUrls(urls);
        return mime;
    }
    bool DragEnter(const QMimeData& mime) {
        QDragEnterEvent enter(At(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(View().viewport(), &enter);
        return enter.isAccepted();
    }
    bool DragMove(const QMimeData& mime) {
        QDragMoveEvent move(At(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(View().viewport(), &move);
        return move.isAccepted();
    }
    // Qt hands a drop only to the widget that accepted the drag when it entered.
    bool Drop(const QMimeData& mime) {
        QDropEvent drop(At(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(View().viewport(), &drop);
        testutil::Settle();
        return drop.isAccepted();
    }
    // The whole gesture: the drag comes in, moves over the list, and is let go.
    bool DragAndDrop(const QMimeData& mime) {
        const bool entered = DragEnter(mime);
        EXPECT_TRUE(DragMove(mime));
        return entered && Drop(mime);
    }
    QPoint At() { return View().viewport()->rect().center(); }
};

TEST_F(FileIntake, ListAcceptsDropsOfTheAudioTypeOnceOpened) {
    EXPECT_EQ(List().AcceptedFileTypes(), (std::vector<std::string>{"Audio"}));
    EXPECT_TRUE(View().viewport()->acceptDrops());
    EXPECT_EQ(Status(), "0 / 0 선택됨");
}

TEST_F(FileIntake, OpenFileAsksForAnAudioFileAndAddsTheChosenOne) {
    MakeFile("chosen song.mp3");
    ui->fileAnswers.push_back(PathOf("chosen song.mp3"));
    window->StatusBar().SetText("stale");
    window->OpenFile();

    ASSERT_EQ(ui->requests.size(), 1u);
    EXPECT_EQ(ui->requests[0].kind, "file");
    EXPECT_EQ(ui->requests[0].text, kFilePrompt);
    EXPECT_EQ(ui->requests[0].extensions,
              (std::vector<std::string>{".wma", ".wav", ".aac", ".m4a", ".ogg", ".mp3"}));
    ASSERT_EQ(List().ListCount(), 1);
    EXPECT_EQ(List().Cell(0, 0), "chosen song.mp3");
    EXPECT_EQ(List().Cell(0, 2), dir.path().toStdString());
    EXPECT_EQ(List().Cell(0, 6), "1");
    EXPECT_EQ(Status(), "0 / 1 선택됨");
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(FileIntake, OpenFileCancelledAddsNothingButRewritesTheStatus) {
    AddRows({"already.mp3"});
    List().SetListIndex(0);
    ui->fileAnswers.push_back(std::nullopt);
    window->StatusBar().SetText("stale");
    window->OpenFile();
    EXPECT_EQ(ui->requests.size(), 1u);
    EXPECT_EQ(List().ListCount(), 1);
    EXPECT_EQ(Status(), "1 / 1 선택됨");
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(FileIntake, OpenFileAddsNoFileOfAnotherTypeTypedIntoTheDialog) {
    // A dialog lets the user type any name; only audio becomes a row.
    const std::vector<std::string> typed = {"notes.txt", "README", "song.mp3.txt", "song.flac"};
    for (const auto& name : typed) {
        MakeFile(name);
        ui->fileAnswers.push_back(PathOf(name));
    }
    MakeFile("SONG.WAV");
    ui->fileAnswers.push_back(PathOf("SONG.WAV"));
    for (std::size_t i = 0; i <= typed.size(); ++i) {
        window->OpenFile();
    }
    EXPECT_EQ(Column(0), (std::vector<std::string>{"SONG.WAV"}));
    EXPECT_EQ(Column(6), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Status(), "0 / 1 선택됨");
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(FileIntake, OpenFolderAddsTheAudioFilesDirectlyInItInTheirOrder) {
    const std::string folder = MakeFolder(
        "My Music",
        {"song1.mp3", "notes.txt", "sub/", "sub/deep.mp3", "sub/deeper.wav", "song2.wav"});
    AddRows({"earlier.ogg"});
    ui->folderAnswers.push_back(folder);
    window->StatusBar().SetText("stale");
    window->OpenFolder();

    ASSERT_EQ(ui->requests.size(), 1u);
    EXPECT_EQ(ui->requests[0].kind, "folder");
    EXPECT_EQ(ui->requests[0].text, kFolderPrompt);
    EXPECT_TRUE(ui->requests[0].extensions.empty());
    EXPECT_EQ(Column(0), (std::vector<std::string>{"earlier.ogg", "song1.mp3", "song2.wav"}));
    EXPECT_EQ(Column(6), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(List().Cell(1, 2), folder);
    EXPECT_EQ(List().Cell(2, 1), "wav");
    EXPECT_EQ(Status(), "0 / 3 선택됨");
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(FileIntake, OpenFolderTakesEveryAudioExtensionAndPassesOverFoldersAndOtherFiles) {
    const std::string folder =
        MakeFolder("mixed", {"a.wma", "b.WAV", "c.aac", "d.m4a", "e.Ogg", "f.mp3", "g.flac",
                             "h.mp3.txt", "i", "j.mp3/", "k.mp4"});
    ui->folderAnswers.push_back(folder);
    window->OpenFolder();
    // Entries come in name order here; a folder whose name looks like audio is still a folder.
    EXPECT_EQ(Column(0),
              (std::vector<std::string>{"a.wma", "b.WAV", "c.aac", "d.m4a", "e.Ogg", "f.mp3"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"wma", "wav", "aac", "m4a", "ogg", "mp3"}));
}

TEST_F(FileIntake, OpenFolderWithoutAudioFilesAddsNothingSaysNothingAndRewritesTheStatus) {
    struct Case {
        const char* folder;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"texts only", {"a.txt", "b.flac", "sub/", "sub/inner.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        ui->folderAnswers.push_back(MakeFolder(c.folder, c.entries));
        window->StatusBar().SetText("stale");
        window->OpenFolder();
        EXPECT_EQ(List().ListCount(), 0);
        EXPECT_EQ(Status(), "0 / 0 선택됨");
        EXPECT_TRUE(ui->Messages().empty());
    }
}

TEST_F(FileIntake, OpenFolderCancelledChangesNothingAtAll) {
    AddRows({"kept.mp3"});
    ui->folderAnswers.push_back(std::nullopt);
    window->StatusBar().SetText("untouched");
    window->OpenFolder();
    EXPECT_EQ(ui->requests.size(), 1u);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"kept.mp3"}));
    EXPECT_EQ(Status(), "untouched");
    EXPECT_EQ(window->audioIndex, 1);
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(FileIntake, OpenFolderOfSomethingUnreadableAddsNothingWithoutFailing) {
    MakeFile("plain.mp3");
    struct Case {
        const char* what;
        std::string path;
    };
    const std::vector<Case> cases = {
        {"a folder that does not exist", PathOf("gone away")},
        {"an audio file instead of a folder", PathOf("plain.mp3")},
    };
    const int reports = fw::UnhandledExceptionCount();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui->folderAnswers.push_back(c.path);
        window->StatusBar().SetText("stale");
        window->OpenFolder();
        EXPECT_EQ(List().ListCount(), 0);
        // The dialog did give an item, so the status line is rewritten.
        EXPECT_EQ(Status(), "0 / 0 선택됨");
    }
    EXPECT_EQ(fw::UnhandledExceptionCount(), reports);
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(FileIntake, OpenFolderJudgesLinksAndHiddenEntriesByTheirNames) {
    const std::string target = MakeFolder("elsewhere", {"real.mp3"});
    const std::string folder = MakeFolder("links", {".hidden.mp3"});
    ASSERT_TRUE(QFile::link(QString::fromStdString(target + "/real.mp3"),
                            QString::fromStdString(folder + "/link.mp3")));
    ASSERT_TRUE(QFile::link(QString::fromStdString(target + "/real.mp3"),
                            QString::fromStdString(folder + "/alias")));
    ASSERT_TRUE(QFile::link(QString::fromStdString(target + "/missing.wav"),
                            QString::fromStdString(folder + "/dangling.wav")));
    ASSERT_TRUE(QFile::link(QString::fromStdString(target),
                            QString::fromStdString(folder + "/folder link.mp3")));
    ui->folderAnswers.push_back(folder);
    window->OpenFolder();
    // This platform lists hidden entries and links; a link counts by its own name, as a file
    // does, even when it leads nowhere; a link to a folder is a folder.
    EXPECT_EQ(Column(0), (std::vector<std::string>{".hidden.mp3", "dangling.wav", "link.mp3"}));
    // The row names the link where it lies, not its target.
    for (int r = 0; r < List().ListCount(); ++r) {
        EXPECT_EQ(List().Cell(r, 2), folder);
    }
}

TEST_F(FileIntake, ToolbarButtonsOpenTheDialogs) {
    MakeFile("from toolbar.wav");
    const std::string folder = MakeFolder("toolbar folder", {"x.ogg", "y.aac"});
    ui->fileAnswers.push_back(PathOf("from toolbar.wav"));
    ui->folderAnswers.push_back(folder);

    // Through the toolbar's own actions, as a click on them does.
    window->TBFile().Action()->trigger();
    ASSERT_EQ(ui->requests.size(), 1u);
    EXPECT_EQ(ui->requests[0].kind, "file");
    EXPECT_EQ(ui->requests[0].text, kFilePrompt);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"from toolbar.wav"}));

    window->TBFolder().Action()->trigger();
    ASSERT_EQ(ui->requests.size(), 2u);
    EXPECT_EQ(ui->requests[1].kind, "folder");
    EXPECT_EQ(ui->requests[1].text, kFolderPrompt);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"from toolbar.wav", "x.ogg", "y.aac"}));
    EXPECT_EQ(Status(), "0 / 3 선택됨");

    // Pressed with nothing chosen: asked once more each, nothing added.
    window->TBFile().Press();
    window->TBFolder().Press();
    EXPECT_EQ(ui->requests.size(), 4u);
    EXPECT_EQ(List().ListCount(), 3);
}

TEST_F(FileIntake, DropOfThreeFilesAddsThemInTheDropsOrder) {
    for (const char* n : {"c third.mp3", "a first.wav", "b second.ogg"}) {
        MakeFile(n);
    }
    const auto mime = Mime({PathOf("c third.mp3"), PathOf("a first.wav"), PathOf("b second.ogg")});
    EXPECT_TRUE(DragAndDrop(*mime));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"c third.mp3", "a first.wav", "b second.ogg"}));
    EXPECT_EQ(Column(6), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Column(7), (std::vector<std::string>{"Ready", "Ready", "Ready"}));
    EXPECT_EQ(List().Cell(0, 2), dir.path().toStdString());
    EXPECT_EQ(Status(), "0 / 3 선택됨");
}

TEST_F(FileIntake, DroppedNamesArriveUnchanged) {
    // Characters that a file address has to escape.
    const std::vector<std::string> names = {
        "100% #1?.mp3",  "it's \"quoted\".wav", "노래 🎵.ogg",
        "a+b&c=d;e.m4a", "%20 literal.aac",     "back\\ slash.wma",
    };
    std::vector<std::string> paths;
    for (const auto& n : names) {
        MakeFile(n);
        paths.push_back(PathOf(n));
    }
    EXPECT_TRUE(DragAndDrop(*Mime(paths)));
    EXPECT_EQ(Column(0), names);
    for (int r = 0; r < List().ListCount(); ++r) {
        SCOPED_TRACE(r);
        const std::string full = List().Cell(r, 2) + "/" + List().Cell(r, 0);
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(full))) << full;
    }
}

TEST_F(FileIntake, DropStatusCountsTheSelectionToo) {
    AddRows({"selected.mp3"});
    List().SetListIndex(0);
    MakeFile("new.mp3");
    window->StatusBar().SetText("stale");
    EXPECT_TRUE(DragAndDrop(*Mime({PathOf("new.mp3")})));
    EXPECT_EQ(Status(), "1 / 2 선택됨");
}

TEST_F(FileIntake, DropOfMixedItemsAddsOnlyTheAudioFiles) {
    for (const char* n : {"one.mp3", "readme.txt", "two.WAV", "cover.jpg"}) {
        MakeFile(n);
    }
    MakeFolder("a folder.mp3", {"inside.mp3"});
    const auto mime = Mime({PathOf("one.mp3"), PathOf("readme.txt"), PathOf("a folder.mp3"),
                            PathOf("two.WAV"), PathOf("cover.jpg")});
    EXPECT_TRUE(DragAndDrop(*mime));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"one.mp3", "two.WAV"}));
    EXPECT_EQ(Status(), "0 / 2 선택됨");
}

TEST_F(FileIntake, DropOfNoAudioFileIsRefusedAtTheDoor) {
    for (const char* n : {"a.txt", "b.flac", "audio.mp3"}) {
        MakeFile(n);
    }
    const auto accepted = Mime({PathOf("audio.mp3")});
    struct Case {
        const char* what;
        std::unique_ptr<QMimeData> mime;
    };
    std::vector<Case> cases;
    cases.push_back({"text files", Mime({PathOf("a.txt"), PathOf("b.flac")})});
    cases.push_back({"a folder", Mime({dir.path().toStdString()})});
    {
        auto web = std::make_unique<QMimeData>();
        web->setUrls({QUrl("https://example.invalid/song.mp3")});
        cases.push_back({"a remote address", std::move(web)});
    }
    {
        auto text = std::make_unique<QMimeData>();
        text->setText("/tmp/song.mp3");
        cases.push_back({"plain text", std::move(text)});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        window->StatusBar().SetText("untouched");
        EXPECT_FALSE(DragEnter(*c.mime));
        EXPECT_FALSE(DragMove(*c.mime));
        // Even a drop that reached the list, after a drag that it did accept, brings nothing.
        ASSERT_TRUE(DragEnter(*accepted));
        EXPECT_FALSE(Drop(*c.mime));
        EXPECT_EQ(List().ListCount(), 0);
        EXPECT_EQ(Status(), "untouched");
    }
}

TEST_F(FileIntake, DropOfAFileTheListHoldsAddsASecondRow) {
    AddRows({"again.mp3"});
    EXPECT_TRUE(DragAndDrop(*Mime({PathOf("again.mp3"), PathOf("again.mp3")})));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"again.mp3", "again.mp3", "again.mp3"}));
    EXPECT_EQ(Column(6), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Status(), "0 / 3 선택됨");
}

TEST_F(FileIntake, DropHandlerPassesOverItemsWithoutAFile) {
    const auto first = MakeFile("first.mp3");
    const auto last = MakeFile("last.mp3");
    struct Case {
        const char* what;
        std::vector<std::shared_ptr<fw::FolderItem>> items;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {"a gap in the middle", {first, nullptr, last}, {"first.mp3", "last.mp3"}},
        {"a gap first", {nullptr, last}, {"last.mp3"}},
        {"only a gap", {nullptr}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        List().DeleteAllRows();
        window->StatusBar().SetText("stale");
        fw::DragItem items(c.items);
        List().RaiseDropObject(items, 1);
        EXPECT_EQ(Column(0), c.rows);
        EXPECT_EQ(Status(), "0 / " + std::to_string(c.rows.size()) + " 선택됨");
    }
}

}  // namespace
