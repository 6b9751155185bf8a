#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "support/ListTestUtil.h"
#include "support/MainFixture.h"

using listtest::PixelAt;

namespace {

constexpr QRgb kStripe = 0xF1F5FA;
constexpr QRgb kSelection = 0x3D80DF;
constexpr QRgb kBar = 0x99CCFF;
constexpr QRgb kFrame = 0x888888;
constexpr QRgb kDisc = 0xBBBBBB;

std::string Hex(QRgb c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return buffer;
}

int MinChannel(QRgb c) {
    return std::min({qRed(c), qGreen(c), qBlue(c)});
}
int MaxChannel(QRgb c) {
    return std::max({qRed(c), qGreen(c), qBlue(c)});
}

// What the user sees: the list painted by the toolkit, read back pixel by pixel.
class ListPixelTest : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
        listtest::CellAt(List(), 0, 4)->setValue(50);
        listtest::CellAt(List(), 1, 4)->setValue(50);
        List().SetListIndex(1);
        QCoreApplication::processEvents();
        image = listtest::View(List())->viewport()->grab().toImage();
    }

    QRect Cell(fw::Int32 row, fw::Int32 column) {
        return listtest::View(List())->CellRect(row, column);
    }
    // A pixel at x, y inside a cell.
    QRgb At(fw::Int32 row, fw::Int32 column, int x, int y) {
        const QRect cell = Cell(row, column);
        return PixelAt(image, cell.x() + x, cell.y() + y);
    }

    QImage image;
};

TEST_F(ListPixelTest, StripeOnEvenRowsSelectionFillOnTheSelectedRow) {
    struct Case {
        fw::Int32 row;
        QRgb colour;
    };
    for (const auto& c : std::vector<Case>{{0, kStripe}, {1, kSelection}, {2, kStripe}}) {
        SCOPED_TRACE("row " + std::to_string(c.row));
        // Corners of text cells, clear of their text.
        for (fw::Int32 column : {1, 7}) {
            const QRect cell = Cell(c.row, column);
            EXPECT_EQ(Hex(At(c.row, column, cell.width() - 3, 1)), Hex(c.colour));
            EXPECT_EQ(Hex(At(c.row, column, cell.width() - 3, cell.height() - 2)), Hex(c.colour));
        }
    }
    // The odd unselected row shows the list's own base, neither stripe nor selection.
    const QRgb bare = At(3, 1, Cell(3, 1).width() - 3, 1);
    EXPECT_NE(Hex(bare), Hex(kStripe));
    EXPECT_NE(Hex(bare), Hex(kSelection));
}

TEST_F(ListPixelTest, TextIsWhiteOnTheSelectedRowAndBlackElsewhere) {
    auto extremes = [&](fw::Int32 row) {
        int brightest = 0, darkest = 255;
        for (int y = 0; y < Cell(row, 0).height(); ++y) {
            for (int x = 0; x < 40; ++x) {
                const QRgb p = At(row, 0, x, y);
                brightest = std::max(brightest, MinChannel(p));
                darkest = std::min(darkest, MaxChannel(p));
            }
        }
        return std::pair{brightest, darkest};
    };
    EXPECT_GE(extremes(1).first, 0xF0) << "white text on the selection colour";
    EXPECT_LE(extremes(0).second, 0x30) << "black text on the stripe";
}

TEST_F(ListPixelTest, ProgressBarInsideItsFrameOverTheRowBackground) {
    for (const auto& [row, background] :
         std::vector<std::pair<fw::Int32, QRgb>>{{0, kStripe}, {1, kSelection}}) {
        SCOPED_TRACE("row " + std::to_string(row));
        ASSERT_EQ(Cell(row, 4).width(), 111);
        // Value 50: a bar of 51 pixels from x 3, inside a frame 102 wide from x 3.
        EXPECT_EQ(Hex(At(row, 4, 28, 9)), Hex(kBar));
        EXPECT_EQ(Hex(At(row, 4, 52, 9)), Hex(kBar));
        EXPECT_EQ(Hex(At(row, 4, 56, 9)), Hex(background));
        EXPECT_EQ(Hex(At(row, 4, 80, 3)), Hex(kFrame));
        EXPECT_EQ(Hex(At(row, 4, 28, 14)), Hex(kFrame));
        EXPECT_EQ(Hex(At(row, 4, 80, 1)), Hex(background));
        EXPECT_EQ(Hex(At(row, 4, 107, 9)), Hex(background));
    }
    // No progress yet: the frame holds the background only.
    EXPECT_EQ(Hex(At(2, 4, 28, 9)), Hex(kStripe));
}

TEST_F(ListPixelTest, DeleteButtonDiscIsLightGrey) {
    for (fw::Int32 row : {0, 1}) {
        SCOPED_TRACE("row " + std::to_string(row));
        // The cross covers the disc's very centre, so take the colour most of the disc has.
        std::map<QRgb, int> counts;
        for (int y = 3; y < 15; ++y) {
            for (int x = 12; x < 24; ++x) {
                if (std::hypot(x + 0.5 - 18.0, y + 0.5 - 9.0) <= 4.0) {
                    ++counts[At(row, 5, x, y)];
                }
            }
        }
        const auto most = std::max_element(counts.begin(), counts.end(),
                                           [](auto& a, auto& b) { return a.second < b.second; });
        EXPECT_EQ(Hex(most->first), Hex(kDisc));
        // Left of the cross, still on the disc.
        EXPECT_EQ(Hex(At(row, 5, 14, 8)), Hex(kDisc));
        EXPECT_NE(Hex(At(row, 5, 5, 9)), Hex(kDisc)) << "nothing drawn left of the disc";
    }
}

TEST_F(ListPixelTest, StarsAreWhiteOnTheSelectedRowAndGreyElsewhere) {
    const QRect stars(0, 0, 45, 18);
    // Selected row: the brightest star pixel is close to white.
    int brightest = 0;
    for (int y = stars.top(); y <= stars.bottom(); ++y) {
        for (int x = stars.left(); x <= stars.right(); ++x) {
            brightest = std::max(brightest, MinChannel(At(1, 3, x, y)));
        }
    }
    EXPECT_GE(brightest, 0xF0);

    // Unselected rows: every pixel that is not the stripe is grey, never white.
    for (fw::Int32 row : {0, 2}) {
        SCOPED_TRACE("row " + std::to_string(row));
        int starPixels = 0, darkest = 255;
        for (int y = stars.top(); y <= stars.bottom(); ++y) {
            for (int x = stars.left(); x <= stars.right(); ++x) {
                const QRgb p = At(row, 3, x, y);
                if (p == kStripe) {
                    continue;
                }
                ++starPixels;
                darkest = std::min(darkest, MaxChannel(p));
                EXPECT_LE(MaxChannel(p) - MinChannel(p), 0x12) << Hex(p) << " is not grey";
                EXPECT_LT(MinChannel(p), MinChannel(kStripe)) << Hex(p) << " is lighter";
            }
        }
        EXPECT_GT(starPixels, 20);
        EXPECT_NEAR(darkest, 0x88, 0x10);
    }
}

}  // namespace
