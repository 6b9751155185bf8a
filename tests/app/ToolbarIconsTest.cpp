#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QProcess>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Pictures.h"
#include "framework/ModalUI.h"
#include "framework/Picture.h"
#include "framework/PictureImage.h"
#include "framework/ToolbarItem.h"
#include "mainwindow/Main.h"
#include "support/WindowTestUtil.h"

// With the built application's Resources folder. The caches and the masks drawn into the cached
// pictures last as long as this process, which the checks below allow for.
namespace {

using Accessor = std::shared_ptr<fw::Picture> (*)();

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

long ReadsEndingIn(std::size_t from, const std::string& name) {
    const auto& log = fw::Picture::ReadLog();
    return std::count_if(log.begin() + static_cast<long>(from), log.end(),
                         [&](const std::string& p) { return EndsWith(p, "/Resources/" + name); });
}

// Records what the toolbar holds once every control exists and before any Open handler runs.
class ProbeMain : public Main {
public:
    void CreateControls() override {
        Main::CreateControls();
        readsAtCreation = fw::Picture::ReadLog().size();
        playImage = TBPlay().Image();
        stopImage = TBStop().Image();
        playMasked = playImage && playImage->Mask(false) != nullptr;
        stopMasked = stopImage && stopImage->Mask(false) != nullptr;
        fileImage = TBFile().Image();
        folderImage = TBFolder().Image();
        convertImage = TBConvert().Image();
    }
    std::size_t readsAtCreation = 0;
    std::shared_ptr<fw::Picture> playImage, stopImage, fileImage, folderImage, convertImage;
    bool playMasked = false, stopMasked = false;
};

class ToolbarIcons : public ::testing::Test {
protected:
    void SetUp() override {
        ui = std::make_shared<fw::ScriptedModalUI>();
        fw::SetModalUI(ui);
        resources = testutil::BuiltResourcesDir();
    }
    void TearDown() override {
        for (auto& w : windows) {
            w->Close();
        }
        windows.clear();
        testutil::Settle();
        fw::SetModalUI(nullptr);
    }
    std::shared_ptr<Main> Open() {
        auto w = Main::Instance();
        windows.push_back(w);
        testutil::Settle();
        return w;
    }

    std::shared_ptr<fw::ScriptedModalUI> ui;
    std::vector<std::shared_ptr<Main>> windows;
    QString resources;
};

// What the first window of a process reads depends on what ran before it in that process: the
// test runs itself alone in a process of its own.
constexpr const char* kAloneVariable = "TUNEMILL_TOOLBAR_TEST_ALONE";

TEST_F(ToolbarIcons, PlayAndStopGetTheirPicturesWhileCreatedAndTheRestInTheOpenHandlers) {
    if (qEnvironmentVariableIsEmpty(kAloneVariable)) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess alone;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kAloneVariable, "1");
        alone.setProcessEnvironment(env);
        alone.setProcessChannelMode(QProcess::MergedChannels);
        alone.start(QCoreApplication::applicationFilePath(),
                    {QString("--gtest_filter=%1.%2").arg(info->test_suite_name(), info->name())});
        ASSERT_TRUE(alone.waitForFinished(120000));
        const std::string output = alone.readAll().toStdString();
        EXPECT_EQ(alone.exitStatus(), QProcess::NormalExit) << output;
        EXPECT_EQ(alone.exitCode(), 0) << output;
        EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
        return;
    }
    const auto& log = fw::Picture::ReadLog();
    ASSERT_TRUE(std::none_of(log.begin(), log.end(), [](const std::string& p) {
        return EndsWith(p, "/play.tiff");
    })) << "the process has read the pictures already";
    const std::size_t before = log.size();

    auto probe = std::make_shared<ProbeMain>();
    probe->Constructor();
    windows.push_back(probe);
    testutil::Settle();

    EXPECT_EQ(probe->playImage, play());
    EXPECT_EQ(probe->stopImage, stop());
    ASSERT_NE(probe->playImage, nullptr);
    ASSERT_NE(probe->stopImage, nullptr);
    EXPECT_EQ(probe->fileImage, nullptr);
    EXPECT_EQ(probe->folderImage, nullptr);
    EXPECT_EQ(probe->convertImage, nullptr);

    // The Open handlers take the two icons from the caches: only the masks come from disk.
    EXPECT_EQ(ReadsEndingIn(probe->readsAtCreation, "play.tiff"), 0);
    EXPECT_EQ(ReadsEndingIn(probe->readsAtCreation, "stop.tiff"), 0);

    // The first window of the process: play and stop are read while created, unmasked, and
    // the other eight pictures only by the Open handlers.
    EXPECT_FALSE(probe->playMasked);
    EXPECT_FALSE(probe->stopMasked);
    EXPECT_EQ(ReadsEndingIn(before, "play.tiff"), 1);
    EXPECT_EQ(ReadsEndingIn(before, "stop.tiff"), 1);
    for (const char* name :
         {"file.tiff", "file_mask.tiff", "folder.tiff", "folder_mask.tiff", "play_mask.tiff",
          "stop_mask.tiff", "convert.tiff", "convert_mask.tiff"}) {
        SCOPED_TRACE(name);
        const long atCreation = std::count_if(
            log.begin() + static_cast<long>(before),
            log.begin() + static_cast<long>(probe->readsAtCreation),
            [&](const std::string& p) { return EndsWith(p, std::string("/") + name); });
        EXPECT_EQ(atCreation, 0);
        EXPECT_EQ(ReadsEndingIn(probe->readsAtCreation, name), 1);
    }
    EXPECT_EQ(probe->TBPlay().Image(), probe->playImage);
    EXPECT_EQ(probe->TBStop().Image(), probe->stopImage);
}

struct Button {
    const char* caption;
    std::function<fw::ToolbarItem&(Main&)> item;
    Accessor icon;
    Accessor mask;
    const char* iconFile;
    const char* maskFile;
};

std::vector<Button> Buttons() {
    return {
        {"Add File", [](Main& m) -> fw::ToolbarItem& { return m.TBFile(); }, file, file_mask,
         "file.tiff", "file_mask.tiff"},
        {"Add Folder", [](Main& m) -> fw::ToolbarItem& { return m.TBFolder(); }, folder,
         folder_mask, "folder.tiff", "folder_mask.tiff"},
        {"Play", [](Main& m) -> fw::ToolbarItem& { return m.TBPlay(); }, play, play_mask,
         "play.tiff", "play_mask.tiff"},
        {"Stop", [](Main& m) -> fw::ToolbarItem& { return m.TBStop(); }, stop, stop_mask,
         "stop.tiff", "stop_mask.tiff"},
        {"Convert", [](Main& m) -> fw::ToolbarItem& { return m.TBConvert(); }, convert,
         convert_mask, "convert.tiff", "convert_mask.tiff"},
    };
}

void ExpectIconMaskedByItsFile(Main& window, const Button& b, const QString& resources) {
    SCOPED_TRACE(b.caption);
    fw::ToolbarItem& item = b.item(window);
    ASSERT_NE(item.Image(), nullptr);
    EXPECT_EQ(item.Image(), b.icon()) << "the item shows the cached picture itself";
    const auto mask = item.Image()->Mask(false);
    ASSERT_NE(mask, nullptr);

    const QImage maskFile = QImage(resources + "/" + b.maskFile);
    ASSERT_FALSE(maskFile.isNull());
    const QImage& drawnMask = fw::ImageOf(*mask);
    ASSERT_EQ(drawnMask.size(), maskFile.size());
    int differing = 0;
    for (int y = 0; y < maskFile.height(); ++y) {
        for (int x = 0; x < maskFile.width(); ++x) {
            differing += qGray(drawnMask.pixel(x, y)) != qGray(maskFile.pixel(x, y));
        }
    }
    EXPECT_EQ(differing, 0);

    // White in the mask is transparent, black opaque; the corners are white in every mask.
    ASSERT_EQ(qGray(maskFile.pixel(0, 0)), 255);
    const QImage masked = fw::MaskedImage(*item.Image());
    const QPoint corners[] = {{0, 0},
                              {masked.width() - 1, 0},
                              {0, masked.height() - 1},
                              {masked.width() - 1, masked.height() - 1}};
    for (const QPoint& p : corners) {
        EXPECT_EQ(qAlpha(masked.pixel(p)), 0) << p.x() << "," << p.y();
    }
    int opaque = 0;
    for (int y = 0; y < masked.height(); ++y) {
        for (int x = 0; x < masked.width(); ++x) {
            if (qGray(maskFile.pixel(x, y)) == 0) {
                opaque += qAlpha(masked.pixel(x, y)) == 255;
                EXPECT_EQ(qAlpha(masked.pixel(x, y)), 255) << x << "," << y;
            }
        }
    }
    EXPECT_GT(opaque, 0);

    // What the toolbar shows is the masked icon, not the bare picture.
    ASSERT_NE(item.Action(), nullptr);
    ASSERT_FALSE(item.Action()->icon().isNull());
    const QImage shown = item.Action()->icon().pixmap(masked.size()).toImage();
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(masked.width() / 2, masked.height() / 2)),
              qAlpha(masked.pixel(masked.width() / 2, masked.height() / 2)));
}

TEST_F(ToolbarIcons, EveryButtonShowsItsIconMaskedByItsMaskFile) {
    auto window = Open();
    for (const auto& b : Buttons()) {
        ExpectIconMaskedByItsFile(*window, b, resources);
    }
}

TEST_F(ToolbarIcons, EachAccessorHoldsThePixelsOfItsOwnFile) {
    Open();
    for (const auto& b : Buttons()) {
        for (auto [accessor, name] :
             {std::pair{b.icon, b.iconFile}, std::pair{b.mask, b.maskFile}}) {
            SCOPED_TRACE(name);
            const auto picture = accessor();
            ASSERT_NE(picture, nullptr);
            const QImage expected =
                QImage(resources + "/" + name).convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(expected.isNull());
            EXPECT_EQ(fw::ImageOf(*picture).convertToFormat(QImage::Format_ARGB32), expected);
        }
    }
}

TEST_F(ToolbarIcons, ALaterWindowReadsNothingAndStillShowsMaskedIcons) {
    auto first = Open();
    first->Close();
    windows.clear();
    testutil::Settle();

    const std::size_t before = fw::Picture::ReadLog().size();
    auto second = Open();
    EXPECT_EQ(fw::Picture::ReadLog().size(), before);
    // The masks are drawn again into the same pictures; that must not change them.
    for (const auto& b : Buttons()) {
        ExpectIconMaskedByItsFile(*second, b, resources);
    }
}

}  // namespace
