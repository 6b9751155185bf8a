#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/FileType.h"
#include "framework/FolderItem.h"

namespace {

const std::vector<std::string> kAwkwardNames = {
    "with space.wav",
    "two  spaces .mp3",
    "it's.wav",
    "\"quoted\".ogg",
    "$HOME.m4a",
    "-dash.wav",
    "파일 이름.wav",
    "😀 emoji.aac",
    "back\\slash.wav",
    "back\\ space.wav",
    "strângë chàrs фズ.wav",
};

class FolderItemTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::string Root() const { return dir.path().toStdString(); }
    std::string MakeFile(const std::string& relative) {
        const QString path = dir.filePath(QString::fromStdString(relative));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << relative;
        return path.toStdString();
    }
    std::string MakeFolder(const std::string& relative) {
        EXPECT_TRUE(QDir(dir.path()).mkpath(QString::fromStdString(relative))) << relative;
        return dir.filePath(QString::fromStdString(relative)).toStdString();
    }

    QTemporaryDir dir;
};

TEST_F(FolderItemTest, NameAndParentOfAPath) {
    for (const auto& name : kAwkwardNames) {
        SCOPED_TRACE(name);
        const fw::FolderItem item(Root() + "/" + name);
        EXPECT_EQ(item.Name(), name);
        ASSERT_NE(item.Parent(), nullptr);
        EXPECT_EQ(item.Parent()->NativePath(), Root());
    }
    // A trailing separator does not make an empty name.
    EXPECT_EQ(fw::FolderItem(Root() + "/sub/").Name(), "sub");
    EXPECT_EQ(fw::FolderItem("/tmp").Parent()->NativePath(), "/");
}

TEST_F(FolderItemTest, RootHasNoParent) {
    EXPECT_EQ(fw::FolderItem("/").Parent(), nullptr);
    EXPECT_EQ(fw::FolderItem("/").Child("tmp")->NativePath(), "/tmp");
}

TEST_F(FolderItemTest, ShellPathEscapesEachSpaceAndNothingElse) {
    struct Case {
        std::string path, shell;
    };
    const std::vector<Case> cases = {
        {"/tmp/plain.wav", "/tmp/plain.wav"},
        {"/tmp/a b/c d.wav", "/tmp/a\\ b/c\\ d.wav"},
        {"/tmp/two  spaces .mp3", "/tmp/two\\ \\ spaces\\ .mp3"},
        {"/tmp/it's \"q\" $HOME -x.wav", "/tmp/it's\\ \"q\"\\ $HOME\\ -x.wav"},
        {"/tmp/파일 이름.wav", "/tmp/파일\\ 이름.wav"},
        {"/tmp/😀 x.aac", "/tmp/😀\\ x.aac"},
        {"/tmp/tab\there.wav", "/tmp/tab\there.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fw::FolderItem(c.path).ShellPath(), c.shell);
    }
}

TEST_F(FolderItemTest, GetFolderItemReadsTheShellPathBack) {
    for (const auto& name : kAwkwardNames) {
        SCOPED_TRACE(name);
        const std::string path = MakeFile(name);
        const fw::FolderItem original(path);
        const auto back = fw::GetFolderItem(original.ShellPath(), 1);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->NativePath(), path);
        EXPECT_TRUE(back->Exists());
        // A plain path is taken as written.
        const auto plain = fw::GetFolderItem(path, 0);
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(plain->NativePath(), path);
    }
    // The shell form is not a plain path: its backslashes stay when read as one.
    EXPECT_EQ(fw::GetFolderItem("/tmp/a\\ b.wav", 0)->NativePath(), "/tmp/a\\ b.wav");
}

TEST_F(FolderItemTest, GetFolderItemNeedsAnAbsolutePath) {
    EXPECT_EQ(fw::GetFolderItem("", 1), nullptr);
    EXPECT_EQ(fw::GetFolderItem("song.wav", 1), nullptr);
    EXPECT_EQ(fw::GetFolderItem("relative/dir", 0), nullptr);
}

TEST_F(FolderItemTest, ChildIsTheEntryOfThatNameWhetherOrNotItExists) {
    const std::string existing = MakeFile("파일 이름.wav");
    const fw::FolderItem folder(Root());
    const auto child = folder.Child("파일 이름.wav");
    EXPECT_EQ(child->NativePath(), existing);
    EXPECT_TRUE(child->Exists());
    EXPECT_FALSE(child->Directory());
    const auto missing = folder.Child("missing.wav");
    EXPECT_EQ(missing->NativePath(), Root() + "/missing.wav");
    EXPECT_FALSE(missing->Exists());
    EXPECT_EQ(missing->Parent()->NativePath(), Root());
}

TEST_F(FolderItemTest, EntriesAreNumberedFromOneInNameOrder) {
    const std::string folderPath = MakeFolder("music");
    for (const char* name : {"c.txt", "a.wav", "b d.mp3"}) {
        MakeFile(std::string("music/") + name);
    }
    MakeFolder("music/e folder");
    const fw::FolderItem folder(folderPath);
    ASSERT_EQ(folder.Count(), 4);
    std::vector<std::string> names;
    for (fw::Int32 i = 1; i <= folder.Count(); ++i) {
        const auto item = folder.Item(i);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(item->Parent()->NativePath(), folderPath);
        names.push_back(item->Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a.wav", "b d.mp3", "c.txt", "e folder"}));
    EXPECT_EQ(folder.Item(0), nullptr);
    EXPECT_EQ(folder.Item(5), nullptr);
    EXPECT_EQ(folder.Item(-1), nullptr);
}

TEST_F(FolderItemTest, CountIsReadAfresh) {
    const std::string folderPath = MakeFolder("grow");
    const fw::FolderItem folder(folderPath);
    EXPECT_EQ(folder.Count(), 0);
    MakeFile("grow/b.wav");
    EXPECT_EQ(folder.Count(), 1);
    MakeFile("grow/a.wav");
    ASSERT_EQ(folder.Count(), 2);
    EXPECT_EQ(folder.Item(1)->Name(), "a.wav");
    EXPECT_EQ(folder.Item(2)->Name(), "b.wav");
    ASSERT_TRUE(QFile::remove(QString::fromStdString(folderPath + "/a.wav")));
    ASSERT_EQ(folder.Count(), 1);
    EXPECT_EQ(folder.Item(1)->Name(), "b.wav");
}

TEST_F(FolderItemTest, FolderThatCannotBeReadHasNoEntries) {
    const std::string file = MakeFile("not a folder.wav");
    EXPECT_EQ(fw::FolderItem(Root() + "/missing").Count(), 0);
    EXPECT_EQ(fw::FolderItem(Root() + "/missing").Item(1), nullptr);
    EXPECT_EQ(fw::FolderItem(file).Count(), 0);
    if (geteuid() != 0) {
        const std::string locked = MakeFolder("locked");
        MakeFile("locked/inside.wav");
        ASSERT_TRUE(
            QFile::setPermissions(QString::fromStdString(locked), QFileDevice::Permissions()));
        EXPECT_EQ(fw::FolderItem(locked).Count(), 0);
        QFile::setPermissions(QString::fromStdString(locked), QFileDevice::ReadOwner |
                                                                  QFileDevice::WriteOwner |
                                                                  QFileDevice::ExeOwner);
    }
}

// The file type the program registers, kept for the test's life only.
class FileTypeTest : public FolderItemTest {
protected:
    void SetUp() override {
        FolderItemTest::SetUp();
        audio = std::make_shared<fw::FileType>();
        audio->Name = "Audio";
        audio->Extensions = ".wma;.wav;.aac;.m4a;.ogg;.mp3";
        fw::RegisterFileType(audio);
    }
    std::shared_ptr<fw::FileType> audio;
};

TEST_F(FileTypeTest, ExtensionListSplitsAtSemicolons) {
    EXPECT_EQ(audio->ExtensionList(),
              (std::vector<std::string>{".wma", ".wav", ".aac", ".m4a", ".ogg", ".mp3"}));
    fw::FileType sparse;
    sparse.Extensions = ";.a;;.b;";
    EXPECT_EQ(sparse.ExtensionList(), (std::vector<std::string>{".a", ".b"}));
    EXPECT_TRUE(fw::FileType().ExtensionList().empty());
}

TEST_F(FileTypeTest, MatchesFileNamesIgnoringCase) {
    struct Case {
        std::string name;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"song.wav", true},      {"SONG.WAV", true}, {"Song.Mp3", true},      {"a.m4a", true},
        {"파일 이름.ogg", true}, {"x.wma", true},    {"song.wav.txt", false}, {"song.wave", false},
        {"songwav", false},      {"README", false},  {"song.flac", false},    {"song.", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(audio->Matches(c.name), c.matches);
    }
    // Empty pieces of the extensions are no extension, which would match every name.
    fw::FileType sparse;
    sparse.Extensions = ";.a;;.B;";
    EXPECT_TRUE(sparse.Matches("x.A"));
    EXPECT_TRUE(sparse.Matches("x.b"));
    EXPECT_FALSE(sparse.Matches("x.c"));
    EXPECT_FALSE(sparse.Matches("README"));
    EXPECT_FALSE(fw::FileType().Matches("x.a"));
}

TEST_F(FileTypeTest, RegisteredTypeIsFoundByNameIgnoringCase) {
    for (const char* name : {"Audio", "audio", "AUDIO"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fw::FileTypeNamed(name), audio);
    }
    EXPECT_EQ(fw::FileTypeNamed("Audi"), nullptr);
    EXPECT_EQ(fw::FileTypeNamed("Video"), nullptr);
}

TEST_F(FileTypeTest, TypeOfAFileIsItsRegisteredType) {
    MakeFolder("x.wav");
    struct Case {
        std::string name;
        std::string type;
    };
    const std::vector<Case> cases = {
        {"song.wav", "Audio"},
        {"UPPER.WAV", "Audio"},
        {"파일 이름.mp3", "Audio"},
        {"😀 emoji.aac", "Audio"},
        {"notes.txt", ""},
        {"README", ""},
        // A folder is of no type, whatever its name.
        {"x.wav", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.name != "x.wav") {
            MakeFile(c.name);
        }
        EXPECT_EQ(fw::FolderItem(Root() + "/" + c.name).Type(), c.type);
    }
}

TEST_F(FileTypeTest, TypeIsUnregisteredWhenItsLastReferenceGoes) {
    const std::string song = MakeFile("song.wav");
    std::shared_ptr<fw::FileType> other = audio;
    audio.reset();
    // Another reference keeps it registered.
    EXPECT_EQ(fw::FileTypeNamed("audio"), other);
    other.reset();
    EXPECT_EQ(fw::FileTypeNamed("audio"), nullptr);
    EXPECT_EQ(fw::FolderItem(song).Type(), "");
    EXPECT_EQ(fw::TypeOfFileName("song.wav"), "");
}

TEST_F(FileTypeTest, SecondTypeIsFoundBesideTheFirst) {
    auto pictures = std::make_shared<fw::FileType>();
    pictures->Name = "Picture";
    pictures->Extensions = ".tiff;.png";
    fw::RegisterFileType(pictures);
    EXPECT_EQ(fw::FileTypeNamed("picture"), pictures);
    EXPECT_EQ(fw::FileTypeNamed("audio"), audio);
    EXPECT_EQ(fw::TypeOfFileName("icon.TIFF"), "Picture");
    EXPECT_EQ(fw::TypeOfFileName("song.ogg"), "Audio");
}

// The folder listing orders itself as QDir does by name, and knows which entries are folders.
TEST(FolderListingTest, EntriesComeInQDirsNameOrderAndFoldersMatchNoType) {
    auto audio = std::make_shared<fw::FileType>();
    audio->Name = "audio";
    audio->Extensions = ".wav;.mp3;.ogg;.m4a";
    fw::RegisterFileType(audio);
    QTemporaryDir dir;
    const QStringList names = {
        "b.wav", "B.wav", "a.WAV", "Äb.mp3", "ab.mp3", ".hidden.mp3", "zz folder.mp3", "日本.ogg",
        "\xF0\x9F\x8E\xB5 note.wav", "\xEF\xBC\xA1 wide.wav", "\xEE\x80\x80 private.wav",
        "\xF0\x9F\x8E\xB5\xEF\xBC\xA1.wav", "\xF0\x9F\x8E\xB5\xF0\x9F\x8E\xB6.wav", "_x.m4a",
        // Long shared beginnings, differing before, at and after the
        // eighth and sixteenth bytes, and by length alone.
        "Artist Name - Album - 01.mp3", "Artist Name - Album - 01 .mp3",
        "Artist Name - album - 01.mp3", "Artist Name - Album - 1.mp3", "Artist Nam.mp3",
        "Artist N.mp3", "Artist M.mp3", "Artist Name - Albun.mp3"};
    for (const auto& n : names) {
        QFile f(dir.filePath(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir().mkpath(dir.filePath("sub.wav"));
    // A link to a folder is a folder; a link to nothing is a file by its name.
    QDir().mkpath(dir.filePath("target"));
    ASSERT_TRUE(QFile::link(dir.filePath("target"), dir.filePath("linked.wav")));
    ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dir.filePath("dangling.wav")));
    const QStringList folders = {"sub.wav", "linked.wav", "target"};
    const QStringList expected =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);

    fw::FolderItem folder(dir.path().toStdString());
    ASSERT_EQ(folder.Count(), expected.size());
    for (fw::Int32 i = 1; i <= folder.Count(); ++i) {
        const auto item = folder.Item(i);
        EXPECT_EQ(item->Name(), expected[i - 1].toStdString()) << "entry " << i;
        const bool folderEntry = folders.contains(QString::fromStdString(item->Name()));
        EXPECT_EQ(item->Type(), folderEntry ? "" : "audio") << item->Name();
        EXPECT_EQ(item->Parent()->NativePath(), dir.path().toStdString());
    }
}

// A large folder is sorted in parts side by side; the parts and their merges give QDir's order,
// with names that share long beginnings and the letters whose order differs between bytes and
// UTF-16 spread over every part.
TEST(FolderListingTest, ALargeFolderComesInQDirsNameOrder) {
    QTemporaryDir dir;
    const QStringList heads = {"Artist Name - Album - ", "artist name - album - ",   "Artist N",
                               "\xEF\xBC\xA1 wide - ",   "\xF0\x9F\x8E\xB5 note - ", "Zoë - "};
    std::mt19937 rng(7);
    for (int i = 0; i < 12000; ++i) {
        const QString name = heads[static_cast<qsizetype>(rng() % heads.size())] +
                             QString::number(rng() % 100000) + QString(".wav");
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QStringList expected = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    fw::FolderItem folder(dir.path().toStdString());
    // Count reads the folder afresh: once.
    const fw::Int32 count = folder.Count();
    ASSERT_EQ(count, expected.size());
    for (fw::Int32 i = 1; i <= count; ++i) {
        ASSERT_EQ(folder.Item(i)->Name(), expected[i - 1].toStdString()) << "entry " << i;
    }
}

// Names that are not UTF-8 read as Qt decodes them, in Qt's order, and the listing of a folder
// held by reference makes that folder its entries' parent.
TEST(FolderListingTest, NamesThatAreNotUtf8ReadAsQtDecodesThem) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    const std::vector<std::string> raw = {"caf\xE9.wav", "ok.wav", "\xC3(.wav", "\xED\xA0\x80.wav",
                                          "\xF0\x9F\x8E.wav"};
    QStringList expected;
    for (const auto& name : raw) {
        const std::string path = root + "/" + name;
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0) << name;
        ::close(fd);
        expected << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    std::sort(expected.begin(), expected.end());
    auto folder = std::make_shared<fw::FolderItem>(root);
    ASSERT_EQ(folder->Count(), static_cast<fw::Int32>(raw.size()));
    for (fw::Int32 i = 1; i <= folder->Count(); ++i) {
        const auto item = folder->Item(i);
        EXPECT_EQ(item->Name(), expected[i - 1].toStdString()) << "entry " << i;
        EXPECT_EQ(item->NativePath(), root + "/" + item->Name());
        EXPECT_EQ(item->Parent(), folder);
    }
    for (const auto& name : raw) {
        ::unlink((root + "/" + name).c_str());
    }
}

// The root's entries are named "/name", not "//name".
TEST(FolderListingTest, EntriesOfTheRootHaveOneSeparator) {
    const fw::FolderItem root("/");
    ASSERT_GT(root.Count(), 0);
    const auto first = root.Item(1);
    EXPECT_EQ(first->NativePath(), "/" + first->Name());
    EXPECT_EQ(first->Parent()->NativePath(), "/");
}

}  // namespace
