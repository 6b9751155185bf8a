#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTextBoundaryFinder>

#include <map>
#include <memory>
#include <string>

#include "support/ListTestUtil.h"
#include "support/MainFixture.h"
#include "support/WindowTestUtil.h"

// The headings as the style is asked to draw them, at the window's default size.
namespace {

// Keeps the text and the room of every heading label that the header has drawn.
class LabelRecorder : public QProxyStyle {
public:
    LabelRecorder() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    struct Label {
        QString text;
        QRect rect;
        qreal advance = 0;
    };
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
            header != nullptr && element == CE_HeaderLabel) {
            labels[header->section] = {
                header->text, header->rect,
                QFontMetricsF(painter->font()).horizontalAdvance(header->text)};
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    mutable std::map<int, Label> labels;
};

const QChar kEllipsis(0x2026);

class ListHeading : public MainFixture {
protected:
    QHeaderView& Header() { return *listtest::View(List())->Header(); }

    // Draws the header and gives each section's label.
    std::map<int, LabelRecorder::Label> Drawn() {
        testutil::Settle();
        recorder.labels.clear();
        Header().setStyle(&recorder);
        Header().grab();
        Header().setStyle(nullptr);
        return recorder.labels;
    }

    // A heading shows whole, or as many whole letters as fit with the ellipsis after them;
    // either way inside its room, so that no letter is cut.
    void ExpectWholeLetters(int column, const LabelRecorder::Label& label) {
        const QString heading = QString::fromStdString(List().Heading(column));
        SCOPED_TRACE("column " + std::to_string(column) + " " + heading.toStdString() +
                     " drawn as " + label.text.toStdString());
        EXPECT_LE(label.advance, label.rect.width());
        if (label.text == heading) {
            return;
        }
        ASSERT_TRUE(label.text.endsWith(kEllipsis));
        const QString kept = label.text.chopped(1);
        ASSERT_TRUE(heading.startsWith(kept));
        QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, heading);
        letters.setPosition(static_cast<int>(kept.size()));
        EXPECT_TRUE(letters.isAtBoundary());
        // Not shorter than it must be: one letter more would not fit.
        const int next = letters.toNextBoundary();
        ASSERT_GT(next, 0);
        const QFontMetricsF metrics(Header().font());
        EXPECT_GT(metrics.horizontalAdvance(heading.left(next) + kEllipsis), label.rect.width());
    }

    LabelRecorder recorder;
};

TEST_F(ListHeading, EveryHeadingShowsWholeWhileNoColumnIsSorted) {
    const auto drawn = Drawn();
    for (int c = 0; c < List().ColumnCount(); ++c) {
        if (Header().sectionSize(c) == 0) {
            continue;  // "No." does not show
        }
        ASSERT_EQ(drawn.count(c), 1u) << c;
        EXPECT_EQ(drawn.at(c).text.toStdString(), List().Heading(c));
        EXPECT_LE(drawn.at(c).advance, drawn.at(c).rect.width()) << c;
    }
}

TEST_F(ListHeading, ASortedHeadingIsShortenedByWholeLettersBesideItsIndicator) {
    for (int c = 0; c < List().ColumnCount(); ++c) {
        if (Header().sectionSize(c) == 0) {
            continue;
        }
        listtest::ClickHeading(List(), c);
        ASSERT_EQ(List().SortedColumn(), c);
        const auto drawn = Drawn();
        ASSERT_EQ(drawn.count(c), 1u) << c;
        ExpectWholeLetters(c, drawn.at(c));
    }
    // The narrow headings that the indicator crowds out: shortened, not cut.
    for (int c : {1, 3}) {
        listtest::ClickHeading(List(), c);
        const auto drawn = Drawn();
        EXPECT_TRUE(drawn.at(c).text.endsWith(kEllipsis)) << drawn.at(c).text.toStdString();
    }
}

// Letters written as several code points (Hangul as conjoining jamo, a letter with a combining
// accent) are kept or dropped whole.
TEST_F(ListHeading, ALetterOfSeveralCodePointsIsKeptOrDroppedWhole) {
    const std::vector<QString> headings = {
        QString("확장자").normalized(QString::NormalizationForm_D),
        QString("변환 음질").normalized(QString::NormalizationForm_D),
        QString("re\u0301sume\u0301"),
    };
    for (const QString& heading : headings) {
        List().SetHeading(1, heading.toStdString());
        listtest::ClickHeading(List(), 1);
        const auto drawn = Drawn();
        ASSERT_EQ(drawn.count(1), 1u);
        ExpectWholeLetters(1, drawn.at(1));
        EXPECT_TRUE(drawn.at(1).text.endsWith(kEllipsis)) << drawn.at(1).text.toStdString();
    }
}

}  // namespace
