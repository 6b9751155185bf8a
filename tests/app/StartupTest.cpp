#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "app/App.h"
#include "app/FileTypes.h"
#include "app/Resources.h"
#include "framework/FileType.h"
#include "framework/FolderItem.h"
#include "framework/ModalUI.h"
#include "framework/MsgBox.h"
#include "support/MessageBoxes.h"
#include "support/WindowTestUtil.h"

namespace {

TEST(AudioFileType, HasTheFourDocumentedFields) {
    ASSERT_NE(FileTypes::pAudio, nullptr);
    EXPECT_EQ(FileTypes::pAudio->Name, "Audio");
    EXPECT_EQ(FileTypes::pAudio->Extensions, ".wma;.wav;.aac;.m4a;.ogg;.mp3");
    // A MIME-like text, not a four-character type code.
    EXPECT_EQ(FileTypes::pAudio->MacType, "audio/WMA");
    EXPECT_EQ(FileTypes::pAudio->MacType.size(), 9u);
    EXPECT_TRUE(FileTypes::pAudio->MacCreator.empty());
}

TEST(AudioFileType, IsRegisteredUnderItsNameInAnyLetterCase) {
    for (const char* name : {"Audio", "audio", "AUDIO", "aUdIo"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fw::FileTypeNamed(name), FileTypes::pAudio);
    }
    for (const char* name : {"Audi", "Audio ", "Audios", ""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fw::FileTypeNamed(name), nullptr);
    }
}

TEST(AudioFileType, ClaimsExactlyItsSixExtensions) {
    struct Case {
        const char* name;
        bool audio;
    };
    const std::vector<Case> cases = {
        {"a.wma", true},       {"a.wav", true},          {"a.aac", true},
        {"a.m4a", true},       {"a.ogg", true},          {"a.mp3", true},
        {"A.WMA", true},       {"SONG.WAV", true},       {"x.AAC", true},
        {"x.M4A", true},       {"x.Ogg", true},          {"x.Mp3", true},
        {"my song.mp3", true}, {"노래.mp3", true},       {"archive.zip.mp3", true},
        {"notes.txt", false},  {"lossless.flac", false}, {"a.mp4", false},
        {"a.mp3.txt", false},  {"a.mp3 ", false},        {"mp3", false},
        {"a_mp3", false},      {"a.wave", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileTypes::pAudio->Matches(c.name), c.audio);
        // A file's type, as the folder scan and the drop test see it, names the registered type.
        EXPECT_EQ(fw::TypeOfFileName(c.name), c.audio ? "Audio" : "");
    }
}

TEST(AudioFileType, RegistrationEndsWhenTheTypeIsReleasedAndReturnsWithInitialize) {
    // What shut-down does: releasing the program-wide value ends the registration.
    const std::weak_ptr<fw::FileType> released = FileTypes::pAudio;
    FileTypes::pAudio.reset();
    EXPECT_TRUE(released.expired());
    EXPECT_EQ(fw::FileTypeNamed("audio"), nullptr);
    EXPECT_EQ(fw::TypeOfFileName("a.mp3"), "");

    FileTypes::Initialize();
    ASSERT_NE(FileTypes::pAudio, nullptr);
    EXPECT_EQ(fw::FileTypeNamed("audio"), FileTypes::pAudio);
    EXPECT_EQ(FileTypes::pAudio->Name, "Audio");
    EXPECT_EQ(FileTypes::pAudio->Extensions, ".wma;.wav;.aac;.m4a;.ogg;.mp3");
    EXPECT_EQ(fw::TypeOfFileName("a.mp3"), "Audio");
}

TEST(ApplicationObject, IsTheOneRegisteredAndKnowsTheExecutable) {
    const auto app = App::Current();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(std::static_pointer_cast<fw::Application>(app), fw::Runtime::CurrentApplication());
    EXPECT_EQ(App::Current(), app);

    testutil::ScopedExecutablePath path("/opt/Some App/bin/tunemill");
    ASSERT_NE(app->ExecutableFile(), nullptr);
    EXPECT_EQ(app->ExecutableFile()->NativePath(), "/opt/Some App/bin/tunemill");
}

// The executable is "tunemill"; the user knows the program as its window names it.
TEST(ApplicationObject, NamesTheProgramInItsMessageBoxes) {
    fw::SetModalUI(nullptr);
    const auto boxes = testutil::BoxesShownBy([] { fw::MsgBox("파일을 찾을 수 없습니다."); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title.toStdString(), "Tunemill");
}

TEST(ResourcesFolder, IsBesideTheExecutablesFolder) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    struct Case {
        std::string executable;
        std::string resources;
    };
    const std::string root = tmp.path().toStdString();
    const std::vector<Case> cases = {
        {root + "/Tunemill/bin/tunemill", root + "/Tunemill/Resources"},
        {root + "/My App 2/MacOS/tunemill", root + "/My App 2/Resources"},
        {root + "/노래 앱/bin/tunemill", root + "/노래 앱/Resources"},
        {"/bin/tunemill", "/Resources"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.executable);
        testutil::ScopedExecutablePath path(c.executable);
        const auto resources = GetApplicationBundleResources();
        ASSERT_NE(resources, nullptr);
        EXPECT_EQ(resources->NativePath(), c.resources);
        EXPECT_EQ(resources->Name(), "Resources");
    }
}

TEST(ResourcesFolder, IsGivenWhetherOrNotItExists) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    testutil::ScopedExecutablePath path(tmp.filePath("nowhere/bin/tunemill").toStdString());
    const auto resources = GetApplicationBundleResources();
    ASSERT_NE(resources, nullptr);
    EXPECT_EQ(resources->NativePath(), tmp.filePath("nowhere/Resources").toStdString());
    EXPECT_FALSE(resources->Exists());
}

TEST(ResourcesFolder, IsNoneWhenTheExecutableLiesInTheRoot) {
    // The root has no parent, so the rule finds no folder to look in.
    testutil::ScopedExecutablePath path("/tunemill");
    EXPECT_EQ(GetApplicationBundleResources(), nullptr);
}

TEST(ResourcesFolder, OfTheBuiltApplicationHoldsTheTenPictures) {
    const auto resources = GetApplicationBundleResources();
    ASSERT_NE(resources, nullptr);
    EXPECT_TRUE(QString::fromStdString(resources->NativePath()).endsWith("/Tunemill/Resources"))
        << resources->NativePath();
    for (const char* name :
         {"convert.tiff", "convert_mask.tiff", "file.tiff", "file_mask.tiff", "folder.tiff",
          "folder_mask.tiff", "play.tiff", "play_mask.tiff", "stop.tiff", "stop_mask.tiff"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(resources->Child(name)->Exists());
    }
}

}  // namespace
