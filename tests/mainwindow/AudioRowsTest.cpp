#include <QDir>
#include <QFileInfo>

#include <optional>
#include <string>
#include <vector>

#include "framework/FolderItem.h"
#include "framework/Variant.h"
#include "listview/ButtonsCell.h"
#include "listview/ProgressCell.h"
#include "listview/RatingCell.h"
#include "support/MainFixture.h"

namespace {

class AudioRows : public MainFixture {
protected:
    // A file inside a subfolder of the temporary folder, made on disk.
    std::shared_ptr<fw::FolderItem> MakeFileIn(const std::string& folder, const std::string& name) {
        const QString sub = dir.filePath(QString::fromStdString(folder));
        EXPECT_TRUE(QDir().mkpath(sub)) << folder;
        const QString path = QDir(sub).filePath(QString::fromStdString(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << name;
        return std::make_shared<fw::FolderItem>(path.toStdString());
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> out;
        for (int r = 0; r < List().ListCount(); ++r) {
            out.push_back(List().Cell(r, column));
        }
        return out;
    }
    int Last() { return List().LastIndex(); }
};

TEST_F(AudioRows, ExtensionColumnIsTheLastRunOfWordCharactersInLowerCase) {
    struct Case {
        const char* name;
        const char* extension;
    };
    const std::vector<Case> cases = {
        {"song.WAV", "wav"},
        {"live.at.home.ogg", "ogg"},
        {"My Song 01.m4a", "m4a"},
        {"Mixed.Mp3", "mp3"},
        {"노래.mp3", "mp3"},
        {"archive.tar.gz", "gz"},
        {"ends in a dot.", ""},
        {"ends in a space.mp3 ", ""},
        {"ends in a dash-", ""},
        // Without a dot the pattern's first character takes the name's first one.
        {"README", "eadme"},
        {"track-01", "01"},
        {"snake_case_name", "nake_case_name"},
        {".hidden", "hidden"},
        {"a.b-c", "c"},
        // The character before the extension is one character, however many bytes it takes.
        {"노래mp3", "mp3"},
        {"🎵wav", "wav"},
        {"song🎵.ogg", "ogg"},
        {"곡.MP3", "mp3"},
        {"🎵", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window->AddAudioRow(MakeFile(c.name));
        EXPECT_EQ(List().Cell(Last(), 0), c.name);
        EXPECT_EQ(List().Cell(Last(), 1), c.extension);
        // A name without a usable extension is added all the same.
        EXPECT_EQ(List().Cell(Last(), 7), "Ready");
    }
    EXPECT_EQ(List().ListCount(), static_cast<int>(cases.size()));
}

TEST_F(AudioRows, NumbersCountUpAndAreNeverGivenOutAgain) {
    AddRows({"one.mp3", "two.mp3"});
    EXPECT_EQ(Column(6), (std::vector<std::string>{"1", "2"}));

    // The row numbered 2 goes; the next row still gets 3.
    List().RemoveRow(1);
    AddRows({"three.mp3"});
    EXPECT_EQ(Column(6), (std::vector<std::string>{"1", "3"}));

    // Not even an emptied list starts again.
    List().RemoveRow(1);
    List().RemoveRow(0);
    ASSERT_EQ(List().ListCount(), 0);
    AddRows({"four.mp3"});
    EXPECT_EQ(Column(6), (std::vector<std::string>{"4"}));
    EXPECT_EQ(window->audioIndex, 4);
}

TEST_F(AudioRows, SameFileTwiceGivesTwoReadyRowsWithTwoNumbers) {
    const auto file = MakeFile("twice.mp3");
    window->AddAudioRow(file);
    window->AddAudioRow(file);
    ASSERT_EQ(List().ListCount(), 2);
    for (int column : {0, 1, 2, 7}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(List().Cell(0, column), List().Cell(1, column));
    }
    EXPECT_EQ(Column(6), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Column(7), (std::vector<std::string>{"Ready", "Ready"}));
}

TEST_F(AudioRows, NewRowHoldsItsThreeCellObjectsAndPlainTexts) {
    AddRows({"cells.mp3"});
    ASSERT_EQ(List().ListCount(), 1);

    auto* rating = fw::VariantAs<RatingCell>(List().CellTag(0, 3));
    ASSERT_NE(rating, nullptr);
    EXPECT_EQ(rating->getValue(), 2);
    auto* progress = fw::VariantAs<ProgressCell>(List().CellTag(0, 4));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->getValue(), 0);
    EXPECT_EQ(progress->value, 0);
    EXPECT_NE(fw::VariantAs<ButtonsCell>(List().CellTag(0, 5)), nullptr);

    // Each row has cells of its own.
    AddRows({"cells2.mp3"});
    EXPECT_NE(fw::VariantAs<RatingCell>(List().CellTag(1, 3)), rating);
    EXPECT_NE(fw::VariantAs<ProgressCell>(List().CellTag(1, 4)), progress);

    for (int column : {3, 4, 5}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(List().Cell(0, column), "");
    }
    for (int column : {0, 1, 2, 6, 7}) {
        SCOPED_TRACE(column);
        EXPECT_TRUE(List().CellTag(0, column).IsNil());
    }
    EXPECT_EQ(List().Cell(0, 7), "Ready");
}

TEST_F(AudioRows, FolderColumnHasPlainSpacesAndWithTheNameGivesTheFile) {
    const std::vector<std::string> folders = {
        "My Music",
        "two  spaces",
        " leading space",
        "trailing space ",
        "back\\ slash and space",
        "plain",
        "노래 모음/하위 폴더",
    };
    for (const auto& folder : folders) {
        SCOPED_TRACE(folder);
        const auto file = MakeFileIn(folder, "song 1.mp3");
        window->AddAudioRow(file);
        const QString expectedFolder = dir.filePath(QString::fromStdString(folder));
        EXPECT_EQ(List().Cell(Last(), 2), expectedFolder.toStdString());
        EXPECT_EQ(List().Cell(Last(), 0), "song 1.mp3");
        const std::string full = List().Cell(Last(), 2) + "/" + List().Cell(Last(), 0);
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(full))) << full;
        EXPECT_EQ(full, file->NativePath());
    }
}

TEST_F(AudioRows, NamesAreShownUnchanged) {
    const std::vector<std::string> names = {
        "with spaces in it.mp3",
        "it's mine.wav",
        "say \"hi\".ogg",
        "back\\slash.m4a",
        "back\\ slash space.m4a",
        "$HOME and $(cmd) `x`.aac",
        "-leading dash.wma",
        "--help.mp3",
        "한국어 노래 제목.mp3",
        "emoji 🎵🎶.wav",
        "strângë chàrs фズ.wav",
        std::string(251, 'a') + ".wav",  // 255 bytes, the longest name a file can have
        std::string(83, 'x') + "가" + std::string(164, 'y') + ".mp3",
    };
    for (const auto& name : names) {
        SCOPED_TRACE(name.substr(0, 40));
        window->AddAudioRow(MakeFile(name));
        EXPECT_EQ(List().Cell(Last(), 0), name);
        EXPECT_EQ(List().Cell(Last(), 2), dir.path().toStdString());
        const std::string full = List().Cell(Last(), 2) + "/" + List().Cell(Last(), 0);
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(full))) << full;
    }
}

TEST_F(AudioRows, AddingShowsNothingAndLeavesStatusAndSelectionAlone) {
    AddRows({"a.mp3", "b.mp3"});
    List().SetListIndex(0);
    window->StatusBar().SetText("untouched");
    AddRows({"c.mp3"});
    EXPECT_EQ(Status(), "untouched");
    EXPECT_TRUE(List().Selected(0));
    EXPECT_FALSE(List().Selected(2));
    EXPECT_EQ(List().SelCount(), 1);
    EXPECT_TRUE(ui->requests.empty());
}

TEST_F(AudioRows, NewRowGoesAfterAllOthersWhateverTheSortOrder) {
    AddRows({"m.mp3", "z.mp3"});
    List().SortByColumn(0, false);
    ASSERT_EQ(Column(0), (std::vector<std::string>{"z.mp3", "m.mp3"}));
    AddRows({"a.mp3"});
    EXPECT_EQ(Column(0), (std::vector<std::string>{"z.mp3", "m.mp3", "a.mp3"}));
    EXPECT_EQ(Last(), 2);
    EXPECT_EQ(List().Cell(2, 6), "3");
    EXPECT_NE(fw::VariantAs<RatingCell>(List().CellTag(2, 3)), nullptr);
}

TEST_F(AudioRows, RefreshCellIndexFindsARowByItsNumberAfterASort) {
    AddRows({"e.mp3", "d.mp3", "c.mp3", "b.mp3", "a.mp3"});
    List().SortByColumn(0, true);
    ASSERT_EQ(Column(6), (std::vector<std::string>{"5", "4", "3", "2", "1"}));

    struct Case {
        int number;
        int index;
    };
    for (const auto& c : std::vector<Case>{{5, 0}, {4, 1}, {3, 2}, {2, 3}, {1, 4}}) {
        SCOPED_TRACE(c.number);
        window->cAudioIndex = -5;
        window->RefreshCellIndex(c.number);
        EXPECT_EQ(window->cAudioIndex, c.index);
    }
}

TEST_F(AudioRows, RefreshCellIndexFollowsARowThatWasDragged) {
    AddRows({"a.mp3", "b.mp3", "c.mp3"});
    // The first row dragged to the end.
    List().MoveRows({0}, List().ListCount());
    ASSERT_EQ(Column(6), (std::vector<std::string>{"2", "3", "1"}));
    window->cAudioIndex = 0;
    window->RefreshCellIndex(1);
    EXPECT_EQ(window->cAudioIndex, 2);
    // Rows above it removed: it moves up.
    List().RemoveRow(0);
    window->RefreshCellIndex(1);
    EXPECT_EQ(window->cAudioIndex, 1);
}

TEST_F(AudioRows, RefreshCellIndexWithoutAMatchChangesNothing) {
    enum class Then { Keep, RemoveLast, RemoveAll };
    struct Case {
        const char* what;
        int rows;
        Then then;
        // The number looked for; none: the number of the last row, before it goes.
        std::optional<int> number;
    };
    const std::vector<Case> cases = {
        {"list never filled", 0, Then::Keep, 1},
        {"list emptied", 2, Then::RemoveAll, std::nullopt},
        {"row removed", 2, Then::RemoveLast, std::nullopt},
        {"never given out", 2, Then::Keep, 999},
        {"zero", 1, Then::Keep, 0},
        {"negative", 1, Then::Keep, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        List().DeleteAllRows();
        for (int i = 0; i < c.rows; ++i) {
            window->AddAudioRow(MakeFile("row" + std::to_string(i) + ".mp3"));
        }
        const int number = c.number ? *c.number : std::stoi(List().Cell(Last(), 6));
        if (c.then == Then::RemoveLast) {
            List().RemoveRow(Last());
        } else if (c.then == Then::RemoveAll) {
            List().DeleteAllRows();
        }
        window->cAudioIndex = 7;
        window->cAudioNo = 3;
        window->Duration = 42;
        window->StatusBar().SetText("untouched");
        window->RefreshCellIndex(number);
        EXPECT_EQ(window->cAudioIndex, 7);
        EXPECT_EQ(window->cAudioNo, 3);
        EXPECT_EQ(window->Duration, 42);
        EXPECT_EQ(Status(), "untouched");
    }
}

}  // namespace
