#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "listview/RatingCell.h"
#include "support/ListTestUtil.h"
#include "support/MainFixture.h"
#include "support/RecordingGraphics.h"

namespace {

const std::string kFilled = "\xE2\x98\x85";  // U+2605
const std::string kHollow = "\xE2\x98\x86";  // U+2606
constexpr fw::Color kWhite = fw::RGB(0xFFFFFF);
constexpr fw::Color kGrey = fw::RGB(0x888888);

// The stars as a pattern, F for filled and H for hollow, checking where each is drawn.
std::string Stars(const RecordingGraphics& g) {
    std::string out;
    for (std::size_t i = 0; i < g.calls.size(); ++i) {
        const auto& call = g.calls[i];
        EXPECT_EQ(call.op, "DrawString");
        const auto star = static_cast<fw::Int32>(i) + 1;
        EXPECT_EQ(call.x, 13 * star - 7) << "star " << star;
        EXPECT_EQ(call.y, g.Height() - 6) << "star " << star;
        out += call.text == kFilled ? "F" : call.text == kHollow ? "H" : "?";
    }
    return out;
}

class RatingCellTest : public MainFixture {};

TEST_F(RatingCellTest, DrawsMaxStarsFilledUpToTheRating) {
    struct Case {
        fw::Int32 rating, max;
        std::string stars;
    };
    const std::vector<Case> cases = {
        {2, 3, "FFH"}, {1, 3, "FHH"}, {3, 3, "FFF"},   {0, 3, "HHH"}, {-2, 3, "HHH"}, {4, 3, "FFF"},
        {9, 3, "FFF"}, {1, 1, "F"},   {2, 5, "FFHHH"}, {0, 0, ""},    {3, 0, ""},     {1, -2, ""},
    };
    AddRows({"a.wav"});
    for (const auto& c : cases) {
        for (fw::Int32 height : {18, 31}) {
            SCOPED_TRACE("rating " + std::to_string(c.rating) + " of " + std::to_string(c.max) +
                         ", height " + std::to_string(height));
            RatingCell cell(c.rating, c.max);
            RecordingGraphics g(55, height);
            cell.cellPaint(g, 0);
            EXPECT_EQ(Stars(g), c.stars);
        }
    }
}

TEST_F(RatingCellTest, DrawsInArial12AndRestoresFontAndSizeButNotWeightOrColour) {
    AddRows({"a.wav", "b.wav"});
    List().SetListIndex(1);
    for (bool bold : {false, true}) {
        SCOPED_TRACE(bold ? "bold" : "plain");
        RatingCell cell(2, 3);
        RecordingGraphics g(55, 18);
        g.SetTextFont("Courier");
        g.SetTextSize(17);
        g.SetBold(bold);
        cell.cellPaint(g, 1);
        ASSERT_EQ(g.calls.size(), 3u);
        for (const auto& call : g.calls) {
            EXPECT_EQ(call.font, "arial");
            EXPECT_EQ(call.size, 12);
            EXPECT_EQ(call.bold, bold);
        }
        EXPECT_EQ(g.TextFont(), "Courier");
        EXPECT_EQ(g.TextSize(), 17);
        EXPECT_EQ(g.Bold(), bold);
        EXPECT_EQ(g.ForeColor(), kWhite);
    }
}

// White stars belong to the main list's ListIndex row alone, not to every selected row.
TEST_F(RatingCellTest, StarsAreWhiteOnlyOnTheMainListsListIndexRow) {
    struct Case {
        const char* name;
        std::set<fw::Int32> selected;
        fw::Int32 whiteRow;  // -1: none
    };
    const std::vector<Case> cases = {
        {"nothing selected", {}, -1},
        {"one row selected", {1}, 1},
        {"first of two selected rows", {1, 2}, 1},
        {"rows 0 and 2 selected", {0, 2}, 0},
        {"all selected", {0, 1, 2}, 0},
    };
    AddRows({"a.wav", "b.wav", "c.wav"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        listtest::SelectOnly(List(), {c.selected.begin(), c.selected.end()});
        for (fw::Int32 row = 0; row < 3; ++row) {
            SCOPED_TRACE("row " + std::to_string(row));
            RatingCell cell(2, 3);
            RecordingGraphics g(55, 18);
            cell.cellPaint(g, row);
            const fw::Color expected = row == c.whiteRow ? kWhite : kGrey;
            ASSERT_EQ(g.calls.size(), 3u);
            for (const auto& call : g.calls) {
                EXPECT_EQ(call.color, expected);
            }
            EXPECT_EQ(g.ForeColor(), expected);
        }
    }
}

TEST_F(RatingCellTest, ColourFollowsTheMainListEvenInAnotherList) {
    AddRows({"a.wav", "b.wav", "c.wav"});
    List().SetListIndex(1);
    auto other = std::make_shared<CustomCellListbox>();
    other->SetColumnCount(1);
    for (int r = 0; r < 3; ++r) {
        other->AddRow("x");
        other->customCell(r, 0, std::make_shared<RatingCell>(1, 2));
    }
    other->SetListIndex(2);

    auto colourOfStars = [&](fw::Int32 row) {
        RecordingGraphics g(55, 18);
        other->Event_CellBackgroundPaint(g, row, 0);
        // The fill comes first, then the two stars.
        EXPECT_EQ(g.calls.size(), row == 1 ? 2u : 3u);
        return g.calls.back().color;
    };
    EXPECT_EQ(colourOfStars(1), kWhite);
    EXPECT_EQ(colourOfStars(2), kGrey);
}

TEST(RatingCellClick, RatingComesFromXAloneAndEveryClickIsConsumed) {
    struct Case {
        fw::Int32 x, expected;
    };
    const std::vector<Case> cases = {
        {0, 1},  {2, 1},  {15, 1},  {16, 2}, {28, 2},  {29, 3},
        {41, 3}, {42, 3}, {500, 3}, {-9, 1}, {-30, 1},
    };
    for (const auto& c : cases) {
        for (fw::Int32 before : {1, 2, 3}) {
            for (fw::Int32 y : {0, 9, -3, 400}) {
                SCOPED_TRACE("x " + std::to_string(c.x) + ", y " + std::to_string(y) +
                             ", rating before " + std::to_string(before));
                RatingCell cell(before, 3);
                EXPECT_TRUE(cell.cellClick(before + 4, 3 + y, c.x, y));
                EXPECT_EQ(cell.getValue(), c.expected);
                EXPECT_EQ(cell.compareValue(), c.expected);
            }
        }
    }
}

TEST(RatingCellClick, CapFollowsMaxAndNeverGoesBelowOne) {
    struct Case {
        fw::Int32 max, x, expected;
    };
    const std::vector<Case> cases = {
        {0, 0, 1}, {0, 42, 1}, {-1, 30, 1}, {5, 42, 4}, {5, 55, 5}, {5, 500, 5}, {1, 16, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("max " + std::to_string(c.max) + ", x " + std::to_string(c.x));
        RatingCell cell(0, c.max);
        EXPECT_TRUE(cell.cellClick(0, 3, c.x, 5));
        EXPECT_EQ(cell.getValue(), c.expected);
    }
}

TEST(RatingCellValue, ConstructorAndSetValueStoreAnyValueUnchanged) {
    for (fw::Int32 v : {9, -4, 0, 2}) {
        SCOPED_TRACE(v);
        RatingCell made(v, 3);
        EXPECT_EQ(made.getValue(), v);
        EXPECT_EQ(made.compareValue(), v);
        RatingCell set(2, 3);
        set.setValue(v);
        EXPECT_EQ(set.getValue(), v);
        EXPECT_EQ(set.compareValue(), v);
    }
}

// Clicks on the stars through the list's widget: the rating follows the zones and the
// selection does not move.
TEST_F(RatingCellTest, ClicksOnTheStarsSetTheRatingAndLeaveTheSelection) {
    AddRows({"a.wav", "b.wav", "c.wav"});
    List().SetListIndex(0);
    const std::string status = Status();
    auto cell = listtest::CellAt(List(), 1, 3);
    ASSERT_TRUE(cell);
    struct Step {
        int x, y, rating;
    };
    // Each step moves the rating, so a click that changes nothing shows.
    const std::vector<Step> steps = {{15, 9, 1}, {29, 2, 3}, {16, 16, 2}, {42, 9, 3},
                                     {28, 0, 2}, {0, 9, 1},  {54, 9, 3}};
    for (const auto& s : steps) {
        SCOPED_TRACE("x " + std::to_string(s.x) + ", y " + std::to_string(s.y));
        listtest::ClickCell(List(), 1, 3, s.x, s.y);
        EXPECT_EQ(cell->getValue(), s.rating);
        EXPECT_EQ(listtest::SelectedRows(List()), std::vector<fw::Int32>{0});
        EXPECT_EQ(Status(), status);
    }
    // Nor does it select anything when nothing was selected.
    List().SetListIndex(-1);
    listtest::ClickCell(List(), 2, 3, 42, 9);
    EXPECT_EQ(listtest::CellAt(List(), 2, 3)->getValue(), 3);
    EXPECT_TRUE(listtest::SelectedRows(List()).empty());
    EXPECT_EQ(listtest::CellAt(List(), 0, 3)->getValue(), 2) << "other rows keep theirs";
}

}  // namespace
