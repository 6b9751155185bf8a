#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Picture.h"
#include "framework/PictureImage.h"

namespace {

constexpr fw::Int32 kNatural = fw::Graphics::kNaturalSize;

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::string PathOf(const char* name) const { return dir.filePath(name).toStdString(); }

    // A picture whose left half is white and right half black, saved in the given format.
    std::string SaveHalves(const char* name, int width, int height, const char* format) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.setPixel(x, y, x < width / 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            }
        }
        EXPECT_TRUE(image.save(dir.filePath(name), format)) << name;
        return PathOf(name);
    }

    std::string WriteBytes(const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return PathOf(name);
    }

    QTemporaryDir dir;
};

TEST_F(PictureTest, OpenReadsPngAndTiff) {
    for (const char* format : {"PNG", "TIFF"}) {
        SCOPED_TRACE(format);
        const std::string name = std::string("halves.") + format;
        const auto picture = fw::Picture::Open(SaveHalves(name.c_str(), 6, 4, format));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Width(), 6);
        EXPECT_EQ(picture->Height(), 4);
        const QImage& image = fw::ImageOf(*picture);
        EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::white));
        EXPECT_EQ(QColor(image.pixel(5, 3)), QColor(Qt::black));
    }
}

TEST_F(PictureTest, OpenOfWhatIsNoPictureGivesNull) {
    struct Case {
        const char* name;
        std::string path;
    };
    const std::vector<Case> cases = {
        {"missing file", PathOf("missing.tiff")},
        {"text named as a picture", WriteBytes("notes.tiff", "this is not a picture\n")},
        {"empty file", WriteBytes("empty.tiff", QByteArray())},
        {"truncated PNG header", WriteBytes("cut.png", QByteArray("\x89PNG\r\n", 6))},
        {"folder", dir.path().toStdString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fw::Picture::Open(c.path), nullptr);
    }
}

TEST_F(PictureTest, MaskIsMadeOnceAllBlack) {
    fw::Picture picture(5, 3);
    EXPECT_EQ(picture.Mask(false), nullptr);
    const auto mask = picture.Mask(true);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->Width(), 5);
    EXPECT_EQ(mask->Height(), 3);
    const QImage& image = fw::ImageOf(*mask);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ(QColor(image.pixel(x, y)), QColor(Qt::black)) << x << "," << y;
        }
    }
    EXPECT_EQ(picture.Mask(true), mask);
    EXPECT_EQ(picture.Mask(false), mask);
}

TEST_F(PictureTest, DrawingAPictureIntoTheMaskCopiesItUnscaled) {
    const auto source = fw::Picture::Open(SaveHalves("mask.tiff", 4, 4, "TIFF"));
    ASSERT_NE(source, nullptr);
    // A larger target shows whether the picture was stretched to fill it.
    fw::Picture icon(8, 6);
    icon.Mask(true)->Graphics().DrawPicture(source, 0, 0, kNatural, kNatural, 0, 0, kNatural,
                                            kNatural);
    const QImage& mask = fw::ImageOf(*icon.Mask(false));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            const bool white = x < 2 && y < 4;
            ASSERT_EQ(QColor(mask.pixel(x, y)), white ? QColor(Qt::white) : QColor(Qt::black));
        }
    }
}

TEST_F(PictureTest, MaskedImageIsOpaqueWhereTheMaskIsBlack) {
    fw::Picture icon(4, 2);
    icon.Graphics().SetForeColor(fw::RGB(0x3D80DF));
    icon.Graphics().FillRect(0, 0, 4, 2);
    const auto mask = icon.Mask(true);
    mask->Graphics().SetForeColor(fw::RGB(0xFFFFFF));
    mask->Graphics().FillRect(0, 0, 1, 2);
    mask->Graphics().SetForeColor(fw::RGB(0x808080));
    mask->Graphics().FillRect(1, 0, 1, 2);

    const QImage shown = fw::MaskedImage(icon);
    ASSERT_EQ(shown.size(), QSize(4, 2));
    for (int y = 0; y < 2; ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(qAlpha(shown.pixel(0, y)), 0);
        const int grey = qAlpha(shown.pixel(1, y));
        EXPECT_GT(grey, 100);
        EXPECT_LT(grey, 155);
        EXPECT_EQ(qAlpha(shown.pixel(2, y)), 255);
        EXPECT_EQ(qAlpha(shown.pixel(3, y)), 255);
        // The colour itself is the picture's.
        EXPECT_EQ(qRed(shown.pixel(3, y)), 0x3D);
        EXPECT_EQ(qGreen(shown.pixel(3, y)), 0x80);
        EXPECT_EQ(qBlue(shown.pixel(3, y)), 0xDF);
    }
}

TEST_F(PictureTest, PictureWithoutMaskIsShownWhole) {
    fw::Picture icon(3, 3);
    const QImage shown = fw::MaskedImage(icon);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            ASSERT_EQ(qAlpha(shown.pixel(x, y)), 255);
        }
    }
}

TEST_F(PictureTest, MaskFromAFileGovernsTheIconsTransparency) {
    // The toolbar's way: a picture and its mask picture read from files.
    const auto icon = fw::Picture::Open(SaveHalves("icon.tiff", 6, 2, "TIFF"));
    const auto maskFile = fw::Picture::Open(SaveHalves("icon_mask.tiff", 6, 2, "TIFF"));
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(maskFile, nullptr);
    icon->Mask(true)->Graphics().DrawPicture(maskFile, 0, 0, kNatural, kNatural, 0, 0, kNatural,
                                             kNatural);
    const QImage shown = fw::MaskedImage(*icon);
    for (int x = 0; x < 6; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(qAlpha(shown.pixel(x, 1)), x < 3 ? 0 : 255);
    }
}

}  // namespace
