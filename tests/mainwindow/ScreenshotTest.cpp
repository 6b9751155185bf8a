#include <QCoreApplication>
#include <QDir>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/ListboxView.h"
#include "framework/QtGraphics.h"
#include "framework/Rectangle.h"
#include "support/MainFixture.h"
#include "support/WindowTestUtil.h"

// The window as drawn at its default size, read back as pixels: four rows, one in each status,
// the second selected.
namespace {

QColor Hex(QRgb rgb) {
    return QColor::fromRgb(rgb);
}

std::string Name(const QColor& c) {
    return c.name(QColor::HexRgb).toUpper().toStdString();
}

// Which fonts draw the text, and whether any character fell back to the missing-glyph box.
struct Shaping {
    bool missingGlyph = false;
    QStringList families;
};

Shaping Shape(const QString& text, const QFont& font) {
    Shaping out;
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const auto runs = layout.glyphRuns();
    for (const QGlyphRun& run : runs) {
        out.families << run.rawFont().familyName();
        for (quint32 glyph : run.glyphIndexes()) {
            out.missingGlyph |= glyph == 0;
        }
    }
    for (const QChar ch : text) {
        if (ch.isSpace()) {
            continue;
        }
        bool supported = false;
        for (const QGlyphRun& run : runs) {
            supported |= run.rawFont().supportsCharacter(ch);
        }
        out.missingGlyph |= !supported;
    }
    return out;
}

int InkIn(const QImage& image, const QRect& area, const QColor& background) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ink += std::abs(qGray(c.rgb()) - qGray(background.rgb())) > 60;
        }
    }
    return ink;
}

const std::vector<std::string> kStatuses = {"Ready", "Converting...", "Complete", "Failed"};

class Screenshot : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        AddRows({"first song.mp3", "second.wav", "셋째 노래.ogg", "fourth.flac"});
        for (int row = 0; row < 4; ++row) {
            List().SetCell(row, 7, kStatuses[static_cast<std::size_t>(row)]);
        }
        List().SetListIndex(1);
        testutil::Settle();
        shot = window->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString dirPath =
            QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
        QDir().mkpath(dirPath);
        savedAs = QDir(dirPath).filePath("main-window-" + QGuiApplication::platformName() + ".png");
        shot.save(savedAs);
    }

    fw::ListboxView& View() { return *static_cast<fw::ListboxView*>(List().Widget()); }
    // A cell's rectangle in the screenshot.
    QRect CellInShot(int row, int column) {
        const QRect cell = View().CellRect(row, column);
        return QRect(View().viewport()->mapTo(window->Widget(), cell.topLeft()), cell.size());
    }
    QColor At(const QPoint& p) { return shot.pixelColor(p); }

    QImage shot;
    QString savedAs;
};

TEST_F(Screenshot, RowsAreStripedAndTheSelectedRowIsBlue) {
    ASSERT_FALSE(shot.isNull());
    ASSERT_EQ(shot.size(), window->Widget()->size() * window->Widget()->devicePixelRatioF());
    RecordProperty("screenshot", savedAs.toStdString());

    struct Case {
        int row;
        QRgb background;
    };
    // Rows past the last one continue the stripes in the empty part of the list.
    const std::vector<Case> cases = {{0, 0xF1F5FA}, {1, 0x3D80DF}, {2, 0xF1F5FA}, {4, 0xF1F5FA}};
    for (const auto& c : cases) {
        for (int column : {1, 7}) {
            SCOPED_TRACE("row " + std::to_string(c.row) + " column " + std::to_string(column));
            const QRect cell = CellInShot(c.row, column);
            ASSERT_TRUE(shot.rect().contains(cell)) << cell.x() << "," << cell.y();
            // Near the right edge and the top, away from the short texts of these columns.
            for (const QPoint& p : {QPoint(cell.right() - 3, cell.top() + 1),
                                    QPoint(cell.right() - 3, cell.bottom() - 1)}) {
                EXPECT_EQ(Name(At(p)), Name(Hex(c.background))) << p.x() << "," << p.y();
            }
        }
    }
}

TEST_F(Screenshot, SelectedRowHasLightTextAndOthersDarkText) {
    const QRect selected = CellInShot(1, 0);
    const QRect plain = CellInShot(2, 0);
    int light = 0, dark = 0;
    for (int y = selected.top(); y <= selected.bottom(); ++y) {
        for (int x = selected.left(); x <= selected.right(); ++x) {
            light += qGray(At({x, y}).rgb()) > 220;
        }
    }
    for (int y = plain.top(); y <= plain.bottom(); ++y) {
        for (int x = plain.left(); x <= plain.right(); ++x) {
            dark += qGray(At({x, y}).rgb()) < 80;
        }
    }
    EXPECT_GT(light, 10);
    EXPECT_GT(dark, 10);
}

TEST_F(Screenshot, HeadingsAreDrawnWithKoreanGlyphs) {
    QHeaderView* header = View().Header();
    const QFont font = header->font();
    for (int c = 0; c < 8; ++c) {
        if (c == 6) {
            continue;  // "No." has no width
        }
        const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
        SCOPED_TRACE(text.toStdString());
        const Shaping shaping = Shape(text, font);
        EXPECT_FALSE(shaping.missingGlyph) << shaping.families.join(", ").toStdString();

        // The heading's area holds about as much ink as the text drawn on its own.
        const QRect section(
            header->mapTo(window->Widget(), QPoint(header->sectionViewportPosition(c), 0)),
            QSize(header->sectionSize(c), header->height()));
        const QColor background = At(QPoint(section.right() - 2, section.center().y()));
        const int inHeading = InkIn(shot, section.adjusted(1, 1, -1, -1), background);

        const QFontMetrics metrics(font);
        QImage alone(metrics.horizontalAdvance(text) + 8, metrics.height() + 4,
                     QImage::Format_RGB32);
        alone.fill(Qt::white);
        {
            QPainter p(&alone);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QPoint(4, 2 + metrics.ascent()), text);
        }
        const int reference = InkIn(alone, alone.rect(), Qt::white);
        ASSERT_GT(reference, 0);
        EXPECT_GT(inHeading, reference / 3) << "heading ink " << inHeading << " vs " << reference;
        EXPECT_LT(inHeading, reference * 3) << "heading ink " << inHeading << " vs " << reference;
    }
}

// The box around the dark pixels of an area.
QRect InkBox(const QImage& image, const QRect& area, const QColor& background) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (std::abs(qGray(image.pixelColor(x, y).rgb()) - qGray(background.rgb())) > 60) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// The list's own text size: a name drawn at a neighbouring size has another extent.
TEST_F(Screenshot, ListTextIsDrawnAtTheListsSize) {
    const QRect cell = CellInShot(0, 0);
    const QColor stripe = Hex(0xF1F5FA);
    const QRect drawn = InkBox(shot, cell, stripe);
    ASSERT_FALSE(drawn.isEmpty());
    // The same name drawn alone, in the list's font at a given size.
    auto alone = [&](int size) {
        const QFont font = fw::FontFor(List().TextFont(), size, false);
        const QFontMetrics metrics(font);
        QImage image(cell.size() * 2, QImage::Format_RGB32);
        image.fill(stripe);
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPoint(3, cell.height()), "first song.mp3");
        p.end();
        return InkBox(image, image.rect(), stripe).size();
    };
    EXPECT_EQ(List().TextSize(), 11);
    EXPECT_EQ(drawn.size(), alone(11)) << drawn.width() << "x" << drawn.height();
    for (int other : {10, 12}) {
        EXPECT_NE(alone(other), alone(11)) << "sizes " << other << " and 11 look alike";
    }
}

// The width of the ink of a text drawn alone in a font and colour over a background.
int InkWidthAlone(const QString& text, const QFont& font, const QColor& pen,
                  const QColor& background) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 20, metrics.height() + 8, QImage::Format_RGB32);
    image.fill(background);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(pen);
    p.drawText(QPoint(3, 4 + metrics.ascent()), text);
    p.end();
    return InkBox(image, image.rect(), background).width();
}

// Each status shows whole in its column, in the font that the list draws with: bold on the
// selected row, plain on the others.
TEST_F(Screenshot, StatusTextsShowWholeBoldAndPlain) {
    struct Row {
        int row;
        bool bold;
        QColor pen, background;
    };
    const std::vector<Row> rows = {{0, false, Qt::black, Hex(0xF1F5FA)},
                                   {1, true, Qt::white, Hex(0x3D80DF)}};
    for (const std::string& status : kStatuses) {
        for (const Row& r : rows) {
            List().SetCell(r.row, 7, status);
        }
        testutil::Settle();
        const QImage now = window->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (const Row& r : rows) {
            SCOPED_TRACE(status + (r.bold ? " bold" : " plain"));
            const QFont font = fw::FontFor(List().TextFont(), List().TextSize(), r.bold);
            const QString text = QString::fromStdString(status);
            const QFontMetrics metrics(font);
            const int whole = InkWidthAlone(text, font, r.pen, r.background);
            // The same text shortened by a letter has ink of another width.
            const QString shortened =
                metrics.elidedText(text, Qt::ElideRight, metrics.horizontalAdvance(text) - 1);
            ASSERT_NE(InkWidthAlone(shortened, font, r.pen, r.background), whole);

            const QRect cell = CellInShot(r.row, 7);
            EXPECT_EQ(InkBox(now, cell, r.background).width(), whole)
                << "text " << metrics.horizontalAdvance(text) << " px in a column of "
                << cell.width();
        }
    }
}

// A bevel of one pixel: darker above and on the left, lighter below and on the right.
TEST_F(Screenshot, StatusStripHasItsBevel) {
    QWidget* widget = window->Rectangle1().Widget();
    const QImage alone = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = alone.width(), h = alone.height();
    ASSERT_GT(w, 40);
    ASSERT_GT(h, 4);
    struct Edge {
        const char* side;
        QPoint at;
        const char* color;
    };
    const std::vector<Edge> edges = {
        {"top", {w / 2, 0}, "#7F7F7F"},
        {"left", {0, h / 2}, "#7F7F7F"},
        {"bottom", {w / 2, h - 1}, "#999999"},
        {"right", {w - 1, h / 2}, "#999999"},
        {"inside the top", {w / 2, 1}, "#AAAAAA"},
        {"inside the left", {1, h / 2}, "#AAAAAA"},
        {"inside the bottom", {w / 2, h - 2}, "#AAAAAA"},
        {"inside the right", {w - 2, h / 2}, "#AAAAAA"},
    };
    for (const auto& e : edges) {
        SCOPED_TRACE(e.side);
        EXPECT_EQ(Name(alone.pixelColor(e.at)), e.color);
    }
    // In the window, the top and bottom edges show along the whole width, under the status line.
    const QRect strip(widget->mapTo(window->Widget(), QPoint(0, 0)), widget->size());
    for (int x = std::max(strip.left(), 0); x <= std::min(strip.right(), shot.width() - 1); ++x) {
        ASSERT_EQ(Name(At(QPoint(x, strip.top()))), "#7F7F7F") << x;
        ASSERT_EQ(Name(At(QPoint(x, strip.bottom()))), "#999999") << x;
    }
}

TEST_F(Screenshot, StatusLineIsDrawnOverTheGreyStrip) {
    const QRect strip(window->Rectangle1().Widget()->mapTo(window->Widget(), QPoint(0, 0)),
                      window->Rectangle1().Widget()->size());
    // Away from the bevel and from the centred text.
    EXPECT_EQ(Name(At(QPoint(strip.left() + 30, strip.center().y()))), "#AAAAAA");
    const QRect status(window->StatusBar().Widget()->mapTo(window->Widget(), QPoint(0, 0)),
                       window->StatusBar().Widget()->size());
    const QRect visible = status.intersected(shot.rect());
    EXPECT_GT(InkIn(shot, visible, QColor(0xAA, 0xAA, 0xAA)), 20) << "the status text is drawn";
    // Its Korean word has letters, in whatever face the line's "Arial" becomes.
    const QString text = QString::fromStdString(Status());
    ASSERT_TRUE(text.contains(QString("선택됨")));
    const Shaping shaping = Shape(text, window->StatusBar().Widget()->font());
    EXPECT_FALSE(shaping.missingGlyph) << shaping.families.join(", ").toStdString();
}

}  // namespace
