#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <string>

#include "app/Pictures.h"
#include "framework/Picture.h"
#include "framework/PictureImage.h"
#include "support/WindowTestUtil.h"

// The caches live as long as the process and never empty, so each scenario here uses an accessor
// of its own, and no window is made in this process (its Open handlers would fill them all).
namespace {

class PictureCache : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir(tmp.path()).mkpath("App/bin"));
        ASSERT_TRUE(QDir(tmp.path()).mkpath("App/Resources"));
        QFile exe(tmp.filePath("App/bin/tunemill"));
        ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
        realResources = testutil::BuiltResourcesDir();
        path = std::make_unique<testutil::ScopedExecutablePath>(
            tmp.filePath("App/bin/tunemill").toStdString());
    }
    void TearDown() override { path.reset(); }

    std::string InFake(const char* name) const {
        return tmp.filePath(QString("App/Resources/") + name).toStdString();
    }
    void CopyReal(const char* name) {
        ASSERT_TRUE(QFile::copy(realResources + "/" + name, QString::fromStdString(InFake(name))))
            << name;
    }
    static long ReadsOf(const std::string& file) {
        const auto& log = fw::Picture::ReadLog();
        return std::count(log.begin(), log.end(), file);
    }

    QTemporaryDir tmp;
    QString realResources;
    std::unique_ptr<testutil::ScopedExecutablePath> path;
};

TEST_F(PictureCache, MissingFileIsLookedForAtEveryCallUntilItIsThereThenReadOnce) {
    const std::string file = InFake("folder.tiff");
    for (int call = 1; call <= 3; ++call) {
        SCOPED_TRACE(call);
        EXPECT_EQ(folder(), nullptr);
        EXPECT_EQ(ReadsOf(file), call);
    }

    CopyReal("folder.tiff");
    const auto first = folder();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ReadsOf(file), 4);
    EXPECT_EQ(first->Width(), QImage(realResources + "/folder.tiff").width());

    const auto logSize = fw::Picture::ReadLog().size();
    EXPECT_EQ(folder(), first);
    EXPECT_EQ(folder(), first);
    EXPECT_EQ(fw::Picture::ReadLog().size(), logSize);

    // Held until the process ends: the file going away changes nothing.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(file)));
    EXPECT_EQ(folder(), first);
    EXPECT_EQ(fw::Picture::ReadLog().size(), logSize);
}

TEST_F(PictureCache, FileThatHoldsNoPictureLeavesTheCacheEmptyAndIsTriedAgain) {
    const std::string file = InFake("convert_mask.tiff");
    {
        QFile junk(QString::fromStdString(file));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("II*\0 this is not a picture", 26);
    }
    EXPECT_EQ(convert_mask(), nullptr);
    EXPECT_EQ(convert_mask(), nullptr);
    EXPECT_EQ(ReadsOf(file), 2);

    ASSERT_TRUE(QFile::remove(QString::fromStdString(file)));
    CopyReal("convert_mask.tiff");
    const auto picture = convert_mask();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(ReadsOf(file), 3);
    EXPECT_EQ(convert_mask(), picture);
    EXPECT_EQ(ReadsOf(file), 3);
}

TEST_F(PictureCache, NoResourcesFolderMeansNothingIsReadAndTheNextCallTriesAgain) {
    {
        testutil::ScopedExecutablePath root("/tunemill");
        const auto logSize = fw::Picture::ReadLog().size();
        EXPECT_EQ(stop_mask(), nullptr);
        EXPECT_EQ(stop_mask(), nullptr);
        EXPECT_EQ(fw::Picture::ReadLog().size(), logSize);
    }
    CopyReal("stop_mask.tiff");
    const auto picture = stop_mask();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(ReadsOf(InFake("stop_mask.tiff")), 1);
}

TEST_F(PictureCache, CallersShareOnePictureSoAMaskDrawnThroughOneIsSeenThroughTheOther) {
    CopyReal("file.tiff");
    CopyReal("file_mask.tiff");
    const auto first = file();
    const auto second = file();
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first, second);
    ASSERT_EQ(first->Mask(false), nullptr) << "a fresh picture has no mask";

    const auto mask = file_mask();
    ASSERT_NE(mask, nullptr);
    first->Mask(true)->Graphics().DrawPicture(mask, 0, 0);

    const auto later = file();
    ASSERT_EQ(later, first);
    ASSERT_NE(later->Mask(false), nullptr);
    EXPECT_EQ(later->Mask(false), first->Mask(false));
    // The mask file's white corner makes the icon transparent there, its black centre opaque.
    const QImage shown = fw::MaskedImage(*later);
    const QImage maskFile = QImage(realResources + "/file_mask.tiff");
    ASSERT_EQ(qGray(maskFile.pixel(0, 0)), 255);
    ASSERT_EQ(qGray(maskFile.pixel(16, 16)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(16, 16)), 255);
    EXPECT_EQ(ReadsOf(InFake("file.tiff")), 1);
}

}  // namespace
