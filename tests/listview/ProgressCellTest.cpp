#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "listview/ProgressCell.h"
#include "support/ListTestUtil.h"
#include "support/MainFixture.h"
#include "support/RecordingGraphics.h"

namespace {

constexpr fw::Color kBar = fw::RGB(0x99CCFF);
constexpr fw::Color kFrame = fw::RGB(0x888888);
constexpr fw::Int32 kMaxInt = std::numeric_limits<fw::Int32>::max();
constexpr fw::Int32 kMinInt = std::numeric_limits<fw::Int32>::min();

// Checks that the cell drew the bar and then the frame over it, and gives the bar's width.
fw::Int32 BarThenFrame(const RecordingGraphics& g) {
    EXPECT_EQ(g.calls.size(), 2u);
    if (g.calls.size() != 2u) {
        return -1;
    }
    const auto& bar = g.calls[0];
    const auto& frame = g.calls[1];
    EXPECT_EQ(bar.op, "FillRect");
    EXPECT_EQ(bar.color, kBar);
    EXPECT_EQ(bar.x, 3);
    EXPECT_EQ(bar.y, 3);
    EXPECT_EQ(bar.height, g.Height() - 6);
    EXPECT_EQ(frame.op, "DrawRect");
    EXPECT_EQ(frame.color, kFrame);
    EXPECT_EQ(frame.x, 3);
    EXPECT_EQ(frame.y, 3);
    EXPECT_EQ(frame.width, g.Width() - 9);
    EXPECT_EQ(frame.height, g.Height() - 6);
    EXPECT_EQ(g.ForeColor(), kFrame) << "the colour is left at the frame's";
    return bar.width;
}

TEST(ProgressCellPaint, BarIsTheValuesShareOfTheFrame) {
    struct Case {
        const char* name;
        fw::Int32 value, max, width, height, bar;
    };
    const std::vector<Case> cases = {
        {"nothing done: a frame alone", 0, 100, 111, 18, 0},
        {"done: the bar fills the frame exactly", 100, 100, 111, 18, 102},
        {"half of a 111-pixel cell", 50, 100, 111, 18, 51},
        {"beyond the end: a full bar", 130, 100, 111, 18, 102},
        {"far beyond the end", 5000, 100, 111, 18, 102},
        {"half of another size", 50, 100, 59, 30, 25},
        {"a share of another max", 3, 12, 109, 18, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgressCell cell(c.value, c.max);
        RecordingGraphics g(c.width, c.height);
        cell.cellPaint(g, 0);
        EXPECT_EQ(BarThenFrame(g), c.bar);
    }
}

TEST(ProgressCellPaint, DrawingDependsOnNeitherRowNorSelectionState) {
    ProgressCell cell(40, 100);
    RecordingGraphics reference(111, 18);
    cell.cellPaint(reference, 0);
    for (fw::Int32 row : {1, 7, -1}) {
        for (bool bold : {false, true}) {
            SCOPED_TRACE(row);
            RecordingGraphics g(111, 18);
            g.SetBold(bold);
            g.SetForeColor(fw::RGB(0xFFFFFF));
            cell.cellPaint(g, row);
            ASSERT_EQ(g.calls.size(), reference.calls.size());
            for (std::size_t i = 0; i < g.calls.size(); ++i) {
                EXPECT_EQ(g.calls[i].op, reference.calls[i].op);
                EXPECT_EQ(g.calls[i].width, reference.calls[i].width);
                EXPECT_EQ(g.calls[i].color, reference.calls[i].color);
            }
        }
    }
}

// Values the program never makes must still paint without faulting (the sanitizer build
// checks the arithmetic); what the bar then shows is open, the frame is not.
TEST(ProgressCellPaint, DegenerateValuesStillDrawTheFrame) {
    struct Case {
        const char* name;
        fw::Int32 value, max, width;
    };
    const std::vector<Case> cases = {
        {"max 0, value 0", 0, 0, 111},
        {"max 0, value 50", 50, 0, 111},
        {"max 0, negative value", -50, 0, 111},
        {"negative value", -50, 100, 111},
        {"negative max", 50, -100, 111},
        {"largest value", kMaxInt, 100, 111},
        {"lowest value", kMinInt, 100, 111},
        {"lowest value of max -1", kMinInt, -1, 111},
        {"cell narrower than its margins", 50, 100, 4},
        {"cell of no width", 100, 100, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgressCell cell(c.value, c.max);
        RecordingGraphics g(c.width, 18);
        cell.cellPaint(g, 0);
        BarThenFrame(g);
        EXPECT_EQ(cell.compareValue(), c.value);
    }
}

TEST(ProgressCellValue, StoresValuesUnclampedAndSortsByThem) {
    for (fw::Int32 v : {0, 50, 100, 130, -5, kMaxInt}) {
        SCOPED_TRACE(v);
        ProgressCell made(v, 100);
        EXPECT_EQ(made.compareValue(), v);
        EXPECT_EQ(made.value, v);
        ProgressCell set(0, 100);
        set.setValue(v);
        EXPECT_EQ(set.compareValue(), v);
        EXPECT_EQ(set.value, v);
    }
}

TEST(ProgressCellClick, NoClickIsConsumed) {
    ProgressCell cell(30, 100);
    for (fw::Int32 x : {0, 3, 50, 105, 110, -1}) {
        for (fw::Int32 y : {0, 9, 17}) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            EXPECT_FALSE(cell.cellClick(2, 4, x, y));
        }
    }
    EXPECT_EQ(cell.compareValue(), 30);
}

class ProgressCellInList : public MainFixture {};

// A declined click goes on to the list's own handling: the row is selected as usual.
TEST_F(ProgressCellInList, ClickOnTheBarSelectsItsRow) {
    AddRows({"a.wav", "b.wav", "c.wav"});
    listtest::CellAt(List(), 2, 4)->setValue(60);
    List().SetListIndex(0);

    listtest::ClickCell(List(), 2, 4, 20, 9);
    EXPECT_EQ(listtest::SelectedRows(List()), std::vector<fw::Int32>{2});
    EXPECT_EQ(Status(), "1 / 3 선택됨");

    listtest::ClickCell(List(), 1, 4, 100, 2, Qt::ControlModifier);
    EXPECT_EQ(listtest::SelectedRows(List()), (std::vector<fw::Int32>{1, 2}));
    EXPECT_EQ(Status(), "2 / 3 선택됨");

    EXPECT_EQ(listtest::CellAt(List(), 2, 4)->getValue(), 60);
    EXPECT_EQ(List().ListCount(), 3);
}

}  // namespace
