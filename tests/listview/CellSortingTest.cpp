#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/ListTestUtil.h"
#include "support/MainFixture.h"

using listtest::CellAt;
using listtest::ClickHeading;
using listtest::ColumnTexts;

namespace {

constexpr fw::Int32 kRating = 3;
constexpr fw::Int32 kProgress = 4;
constexpr fw::Int32 kButtons = 5;
constexpr fw::Int32 kNumber = 6;

using Names = std::vector<std::string>;

class CellSortingTest : public MainFixture {
protected:
    struct RowCells {
        std::shared_ptr<CustomListboxCell> rating, progress, buttons;
        std::string number;
    };

    // What every row holds, by file name, so that it can be found again after a reorder.
    std::map<std::string, RowCells> Snapshot() {
        std::map<std::string, RowCells> out;
        for (fw::Int32 r = 0; r < List().ListCount(); ++r) {
            out[List().Cell(r, 0)] = {CellAt(List(), r, kRating), CellAt(List(), r, kProgress),
                                      CellAt(List(), r, kButtons), List().Cell(r, kNumber)};
        }
        return out;
    }
    void ExpectRowsKept(const std::map<std::string, RowCells>& before) {
        ASSERT_EQ(static_cast<std::size_t>(List().ListCount()), before.size());
        for (fw::Int32 r = 0; r < List().ListCount(); ++r) {
            const std::string name = List().Cell(r, 0);
            SCOPED_TRACE(name);
            const auto& cells = before.at(name);
            EXPECT_EQ(CellAt(List(), r, kRating), cells.rating);
            EXPECT_EQ(CellAt(List(), r, kProgress), cells.progress);
            EXPECT_EQ(CellAt(List(), r, kButtons), cells.buttons);
            EXPECT_EQ(List().Cell(r, kNumber), cells.number);
        }
    }
    void SetValues(fw::Int32 column, const std::vector<fw::Int32>& values) {
        for (std::size_t r = 0; r < values.size(); ++r) {
            CellAt(List(), static_cast<fw::Int32>(r), column)->setValue(values[r]);
        }
    }
    Names Order() { return ColumnTexts(List(), 0); }
};

TEST_F(CellSortingTest, HeadingClicksSortByRatingThenReverse) {
    AddRows({"a.wav", "b.wav", "c.wav"});
    SetValues(kRating, {3, 1, 2});
    const auto before = Snapshot();

    ClickHeading(List(), kRating);
    EXPECT_EQ(Order(), (Names{"b.wav", "c.wav", "a.wav"}));
    ExpectRowsKept(before);

    ClickHeading(List(), kRating);
    EXPECT_EQ(Order(), (Names{"a.wav", "c.wav", "b.wav"}));
    ExpectRowsKept(before);
}

// A progress above the maximum sorts above a finished row: keys are compared uncapped.
TEST_F(CellSortingTest, HeadingClicksSortByProgressThenReverse) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
    SetValues(kProgress, {50, 130, 0, 100});
    const auto before = Snapshot();

    ClickHeading(List(), kProgress);
    EXPECT_EQ(Order(), (Names{"c.wav", "a.wav", "d.wav", "b.wav"}));
    ExpectRowsKept(before);

    ClickHeading(List(), kProgress);
    EXPECT_EQ(Order(), (Names{"b.wav", "d.wav", "a.wav", "c.wav"}));
    ExpectRowsKept(before);
}

TEST_F(CellSortingTest, EqualRatingsCompareEqualAndUnequalByTheirDifference) {
    AddRows({"a.wav", "b.wav", "c.wav"});
    SetValues(kRating, {3, 1, 1});
    struct Case {
        fw::Int32 row1, row2, result;
    };
    for (const auto& c : std::vector<Case>{{0, 1, 2}, {1, 0, -2}, {1, 2, 0}}) {
        SCOPED_TRACE(std::to_string(c.row1) + " vs " + std::to_string(c.row2));
        fw::Int32 result = 99;
        EXPECT_TRUE(List().Event_CompareRows(c.row1, c.row2, kRating, result));
        EXPECT_EQ(result, c.result);
    }
    ClickHeading(List(), kRating);
    EXPECT_EQ(Order().back(), "a.wav");
}

TEST_F(CellSortingTest, MovedRowsTakeTheirCellsAlong) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
    SetValues(kRating, {1, 2, 3, 1});
    SetValues(kProgress, {10, 20, 30, 40});
    const auto before = Snapshot();

    List().MoveRows({0, 2}, 4);
    EXPECT_EQ(Order(), (Names{"b.wav", "d.wav", "a.wav", "c.wav"}));
    ExpectRowsKept(before);

    List().MoveRows({3}, 0);
    EXPECT_EQ(Order(), (Names{"c.wav", "b.wav", "d.wav", "a.wav"}));
    ExpectRowsKept(before);
    EXPECT_EQ(CellAt(List(), 0, kRating)->getValue(), 3);
    EXPECT_EQ(CellAt(List(), 0, kProgress)->compareValue(), 30);
}

}  // namespace
