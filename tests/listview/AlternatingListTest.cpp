#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "listview/AlternatingList.h"
#include "support/RecordingGraphics.h"

namespace {

constexpr fw::Color kStripe = fw::RGB(0xF1F5FA);
constexpr fw::Color kSelection = fw::RGB(0x3D80DF);
constexpr fw::Color kWhite = fw::RGB(0xFFFFFF);
constexpr fw::Color kBlack = fw::RGB(0x000000);
constexpr fw::Color kUntouched = fw::RGB(0x123456);

// Records every raise of the background event, with what had been drawn when it came.
class ObservedList : public AlternatingList {
public:
    struct Raise {
        const fw::Graphics* g;
        fw::Int32 row, column;
        std::size_t callsBefore;
    };

    explicit ObservedList(bool stripes) { alternateRows = stripes; }

    void Event_cellBackgroundPaint(fw::Graphics& g, fw::Int32 row, fw::Int32 column) override {
        raised.push_back({&g, row, column, static_cast<RecordingGraphics&>(g).calls.size()});
    }

    std::vector<Raise> raised;
};

std::shared_ptr<ObservedList> MakeList(fw::Int32 rows, const std::set<fw::Int32>& selected,
                                       bool stripes = true) {
    auto list = std::make_shared<ObservedList>(stripes);
    list->SetColumnCount(3);
    for (fw::Int32 r = 0; r < rows; ++r) {
        list->AddRow("row " + std::to_string(r));
    }
    for (auto r : selected) {
        list->SetSelected(r, true);
    }
    return list;
}

struct BackgroundCase {
    const char* name;
    std::set<fw::Int32> selected;
    fw::Int32 row;
    std::optional<fw::Color> fill;  // none: nothing is painted
};

TEST(AlternatingListBackground, StripesEvenRowsAndFillsSelectedRows) {
    const std::vector<BackgroundCase> cases = {
        {"row 0 unselected is striped", {}, 0, kStripe},
        {"row 1 unselected is left bare", {}, 1, std::nullopt},
        {"row 2 unselected is striped", {}, 2, kStripe},
        {"row 1 selected", {1}, 1, kSelection},
        {"row 0 selected takes the selection colour, not the stripe", {0}, 0, kSelection},
        {"row 2 striped beside a selected row", {1}, 2, kStripe},
        {"every selected row is filled, not only the first", {0, 1, 2}, 2, kSelection},
        {"odd row past the last row", {0, 1, 2}, 3, std::nullopt},
        {"even row past the last row is striped as unselected", {0, 1, 2}, 4, kStripe},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [w, h] : std::vector<std::pair<fw::Int32, fw::Int32>>{{57, 18}, {9, 40}}) {
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
            auto list = MakeList(3, c.selected);
            RecordingGraphics g(w, h);
            g.SetForeColor(kUntouched);
            EXPECT_TRUE(list->Event_CellBackgroundPaint(g, c.row, 1));
            if (c.fill) {
                ASSERT_EQ(g.calls.size(), 1u);
                const auto& call = g.calls[0];
                EXPECT_EQ(call.op, "FillRect");
                EXPECT_EQ(call.color, *c.fill);
                EXPECT_EQ(call.x, 0);
                EXPECT_EQ(call.y, 0);
                EXPECT_EQ(call.width, w);
                EXPECT_EQ(call.height, h);
            } else {
                EXPECT_TRUE(g.calls.empty());
                EXPECT_EQ(g.ForeColor(), kUntouched);
            }
        }
    }
}

TEST(AlternatingListBackground, RaisesTheEventAfterTheFillWithTheSameGraphics) {
    auto list = MakeList(3, {1});
    for (fw::Int32 row : {0, 1, 2, 5}) {
        SCOPED_TRACE(row);
        list->raised.clear();
        RecordingGraphics g(40, 18);
        list->Event_CellBackgroundPaint(g, row, 2);
        ASSERT_EQ(list->raised.size(), 1u);
        EXPECT_EQ(list->raised[0].g, &g);
        EXPECT_EQ(list->raised[0].row, row);
        EXPECT_EQ(list->raised[0].column, 2);
        // The handler sees the fill already made, whatever it was.
        EXPECT_EQ(list->raised[0].callsBefore, g.calls.size());
    }
}

TEST(AlternatingListBackground, WithoutAlternateRowsPaintsNothingButStillClaimsAndRaises) {
    auto list = MakeList(3, {0, 1}, /*stripes=*/false);
    for (fw::Int32 row : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(row);
        list->raised.clear();
        RecordingGraphics g(40, 18);
        EXPECT_TRUE(list->Event_CellBackgroundPaint(g, row, 0));
        EXPECT_TRUE(g.calls.empty());
        ASSERT_EQ(list->raised.size(), 1u);
        EXPECT_EQ(list->raised[0].g, &g);
        EXPECT_EQ(list->raised[0].row, row);
    }
}

TEST(AlternatingListText, SelectedRowsBoldWhiteOthersPlainBlack) {
    auto list = MakeList(4, {1, 2});
    for (fw::Int32 row = 0; row < 4; ++row) {
        const bool selected = row == 1 || row == 2;
        SCOPED_TRACE("row " + std::to_string(row));
        // Start from the opposite weight so that a handler that leaves it alone shows.
        RecordingGraphics g(40, 18);
        g.SetBold(!selected);
        g.SetForeColor(kUntouched);
        EXPECT_FALSE(list->Event_CellTextPaint(g, row, 0, 3, 12));
        EXPECT_EQ(g.Bold(), selected);
        EXPECT_EQ(g.ForeColor(), selected ? kWhite : kBlack);
        // The framework draws the text; the handler only sets its style.
        EXPECT_TRUE(g.calls.empty());
    }
}

}  // namespace
