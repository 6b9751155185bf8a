#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/ButtonsCell.h"
#include "support/ListTestUtil.h"
#include "support/MainFixture.h"
#include "support/RecordingGraphics.h"

using listtest::ClickCell;
using listtest::ColumnTexts;
using listtest::SelectedRows;

namespace {

constexpr fw::Int32 kButtons = 5;
constexpr fw::Int32 kStatus = 7;
const std::string kRefusal = "변환중인 파일은 삭제할 수 없습니다.";

using Names = std::vector<std::string>;

class ButtonsCellTest : public MainFixture {
protected:
    Names Rows() { return ColumnTexts(List(), 0); }
};

TEST_F(ButtonsCellTest, PaintsAGreyDiscWithAWhiteBoldCrossAtFixedPlaces) {
    AddRows({"a.wav", "b.wav"});
    List().SetListIndex(0);
    struct Size {
        fw::Int32 width, height, row;
    };
    for (const auto& s : std::vector<Size>{{38, 18, 0}, {38, 18, 1}, {120, 40, 0}, {5, 5, 1}}) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height) + " row " +
                     std::to_string(s.row));
        ButtonsCell cell;
        RecordingGraphics g(s.width, s.height);
        g.SetTextFont("Courier");
        g.SetTextSize(20);
        g.SetBold(false);
        cell.cellPaint(g, s.row);

        ASSERT_EQ(g.calls.size(), 3u);
        const auto& disc = g.calls[0];
        EXPECT_EQ(disc.op, "FillOval");
        EXPECT_EQ(disc.color, fw::RGB(0xBBBBBB));
        EXPECT_EQ((std::vector<fw::Int32>{disc.x, disc.y, disc.width, disc.height}),
                  (std::vector<fw::Int32>{12, 3, 12, 12}));
        const auto& outline = g.calls[1];
        EXPECT_EQ(outline.op, "DrawOval");
        EXPECT_EQ(outline.color, fw::RGB(0x888888));
        EXPECT_EQ((std::vector<fw::Int32>{outline.x, outline.y, outline.width, outline.height}),
                  (std::vector<fw::Int32>{12, 3, 12, 12}));
        const auto& cross = g.calls[2];
        EXPECT_EQ(cross.op, "DrawString");
        EXPECT_EQ(cross.text, "X");
        EXPECT_EQ(cross.x, 15);
        EXPECT_EQ(cross.y, 12);
        EXPECT_EQ(cross.color, fw::RGB(0xFFFFFF));
        EXPECT_TRUE(cross.bold);
        EXPECT_EQ(cross.font, "arial");
        EXPECT_EQ(cross.size, 9);
        // Nothing is restored.
        EXPECT_EQ(g.ForeColor(), fw::RGB(0xFFFFFF));
        EXPECT_TRUE(g.Bold());
        EXPECT_EQ(g.TextFont(), "arial");
        EXPECT_EQ(g.TextSize(), 9);
    }
}

// The reacting band is x 13 to 25 at any height, one pixel right of the disc's left edge.
TEST_F(ButtonsCellTest, ClickRemovesTheRowOnlyInsideTheReactingBand) {
    struct Case {
        int x, y;
        bool removes;
    };
    const std::vector<Case> cases = {
        {12, 9, false}, {13, 9, true}, {25, 9, true},  {26, 9, false}, {0, 9, false},
        {18, 9, true},  {13, 0, true}, {25, 17, true}, {37, 9, false}, {18, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("x " + std::to_string(c.x) + ", y " + std::to_string(c.y));
        List().DeleteAllRows();
        AddRows({"a.wav", "b.wav", "c.wav"});
        List().SetListIndex(0);
        ui->requests.clear();

        ClickCell(List(), 1, kButtons, c.x, c.y);

        if (c.removes) {
            EXPECT_EQ(Rows(), (Names{"a.wav", "c.wav"}));
            EXPECT_TRUE(SelectedRows(List()).empty()) << "the other rows lost their selection";
            EXPECT_EQ(Status(), "0 / 2 선택됨");
        } else {
            // Not consumed: an ordinary click on the row.
            EXPECT_EQ(Rows(), (Names{"a.wav", "b.wav", "c.wav"}));
            EXPECT_EQ(SelectedRows(List()), std::vector<fw::Int32>{1});
            EXPECT_EQ(Status(), "1 / 3 선택됨");
        }
        EXPECT_TRUE(ui->Messages().empty());
    }
}

TEST_F(ButtonsCellTest, ClickAnswersWhetherItWasConsumed) {
    for (const auto& [x, consumed] : std::vector<std::pair<fw::Int32, bool>>{
             {12, false}, {13, true}, {25, true}, {26, false}, {-13, false}}) {
        SCOPED_TRACE(x);
        List().DeleteAllRows();
        AddRows({"a.wav", "b.wav"});
        EXPECT_EQ(List().Event_CellClick(0, kButtons, x, 40), consumed);
        EXPECT_EQ(List().ListCount(), consumed ? 1 : 2);
    }
}

TEST_F(ButtonsCellTest, ClickOnTheLastRowRemovesIt) {
    AddRows({"a.wav", "b.wav", "c.wav"});
    ClickCell(List(), 2, kButtons, 18, 9);
    EXPECT_EQ(Rows(), (Names{"a.wav", "b.wav"}));
    EXPECT_EQ(Status(), "0 / 2 선택됨");
    // The cell that repaints now lies below the rows; painting that must be harmless.
    QCoreApplication::processEvents();
    ClickCell(List(), 1, kButtons, 18, 9);
    ClickCell(List(), 0, kButtons, 18, 9);
    EXPECT_EQ(List().ListCount(), 0);
    EXPECT_EQ(Status(), "0 / 0 선택됨");
}

TEST_F(ButtonsCellTest, WithSeveralRowsSelectedOnlyTheClickedRowGoes) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
    ClickCell(List(), 0, 0, 20, 9);
    ClickCell(List(), 2, 0, 20, 9, Qt::ControlModifier);
    ClickCell(List(), 3, 0, 20, 9, Qt::ControlModifier);
    ASSERT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{0, 2, 3}));

    ClickCell(List(), 2, kButtons, 20, 9);
    EXPECT_EQ(Rows(), (Names{"a.wav", "b.wav", "d.wav"}));
    EXPECT_TRUE(SelectedRows(List()).empty());
    EXPECT_EQ(Status(), "0 / 3 선택됨");

    // Also the button of a row that was not selected.
    ClickCell(List(), 0, 0, 20, 9);
    ClickCell(List(), 2, 0, 20, 9, Qt::ControlModifier);
    ClickCell(List(), 1, kButtons, 20, 9);
    EXPECT_EQ(Rows(), (Names{"a.wav", "d.wav"}));
    EXPECT_EQ(Status(), "0 / 2 선택됨");
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(ButtonsCellTest, ClickOnTheConvertingRowKeepsItAndSaysSoOnce) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
    List().SetCell(1, kStatus, "Converting...");
    ClickCell(List(), 0, 0, 20, 9);
    ClickCell(List(), 3, 0, 20, 9, Qt::ControlModifier);

    ClickCell(List(), 1, kButtons, 20, 9);
    EXPECT_EQ(Rows(), (Names{"a.wav", "b.wav", "c.wav", "d.wav"}));
    EXPECT_EQ(ui->Messages(), std::vector<std::string>{kRefusal});
    EXPECT_EQ(SelectedRows(List()), std::vector<fw::Int32>{1});
    EXPECT_EQ(Status(), "1 / 4 선택됨");
    EXPECT_EQ(List().Cell(1, kStatus), "Converting...");
}

TEST_F(ButtonsCellTest, EveryPairComparesEqualOnTheButtonColumn) {
    AddRows({"a.wav", "b.wav", "c.wav"});
    for (const auto& [a, b] : std::vector<std::pair<fw::Int32, fw::Int32>>{{0, 1}, {2, 0}}) {
        fw::Int32 result = 5;
        EXPECT_TRUE(List().Event_CompareRows(a, b, kButtons, result));
        EXPECT_EQ(result, 0);
    }
}

}  // namespace
