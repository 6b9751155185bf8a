#include <gtest/gtest.h>

#include <QCoreApplication>

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "listview/CustomCellListbox.h"
#include "support/ListTestUtil.h"
#include "support/MainFixture.h"
#include "support/RecordingGraphics.h"

using listtest::CellAt;
using listtest::ProbeCell;

namespace {

constexpr fw::Color kStripe = fw::RGB(0xF1F5FA);
constexpr fw::Color kSelection = fw::RGB(0x3D80DF);

// A list whose hook and events record what reaches them.
class ProbeList : public CustomCellListbox {
public:
    using CustomCellListbox::Event_CellClick;

    void gradient(fw::Graphics& g) override {
        gradientOn.push_back(&g);
        if (log != nullptr) {
            log->push_back("gradient");
        }
    }
    void Event_CustomCellClick(CustomListboxCell& cell) override { consumedBy.push_back(&cell); }
    bool Event_CellClick(CustomListboxCell& cell) override {
        declinedBy.push_back(&cell);
        return declinedAnswer;
    }

    std::vector<const fw::Graphics*> gradientOn;
    std::vector<const CustomListboxCell*> consumedBy;
    std::vector<const CustomListboxCell*> declinedBy;
    bool declinedAnswer = false;
    std::vector<std::string>* log = nullptr;
};

// Any counted object that is not a cell.
class NotACell : public fw::Object {};

class CustomCellListboxTest : public ::testing::Test {
protected:
    // `rows` rows of three columns; column 1 of every row holds a probe cell.
    void Make(fw::Int32 rows) {
        list = std::make_shared<ProbeList>();
        list->SetColumnCount(3);
        cells.clear();
        for (fw::Int32 r = 0; r < rows; ++r) {
            list->AddRow("text " + std::to_string(r));
            cells.push_back(std::make_shared<ProbeCell>(r));
            list->customCell(r, 1, cells.back());
        }
    }
    std::size_t CellCalls() const {
        std::size_t n = 0;
        for (const auto& c : cells) {
            n += c->clicks.size() + c->paintedRows.size() +
                 static_cast<std::size_t>(c->compareCalls);
        }
        return n;
    }

    std::shared_ptr<ProbeList> list;
    std::vector<std::shared_ptr<ProbeCell>> cells;
};

TEST_F(CustomCellListboxTest, NewListStripesAndFillsLikeItsSuperclass) {
    Make(3);
    list->SetSelected(1, true);
    const std::vector<std::pair<fw::Int32, fw::Color>> fills = {
        {0, kStripe}, {1, kSelection}, {2, kStripe}};
    for (const auto& [row, colour] : fills) {
        SCOPED_TRACE(row);
        RecordingGraphics g(30, 18);
        EXPECT_TRUE(list->Event_CellBackgroundPaint(g, row, 0));
        ASSERT_EQ(g.calls.size(), 1u);
        EXPECT_EQ(g.calls[0].op, "FillRect");
        EXPECT_EQ(g.calls[0].color, colour);
    }
}

TEST_F(CustomCellListboxTest, SelectedCellPaintsFillThenGradientThenCell) {
    Make(3);
    list->SetSelected(1, true);
    std::vector<std::string> log;
    list->log = &log;
    cells[1]->log = &log;

    RecordingGraphics g(50, 18);
    EXPECT_TRUE(list->Event_CellBackgroundPaint(g, 1, 1));

    EXPECT_EQ(log, (std::vector<std::string>{"gradient", "cellPaint"}));
    ASSERT_EQ(list->gradientOn.size(), 1u);
    EXPECT_EQ(list->gradientOn[0], &g);
    EXPECT_EQ(cells[1]->paintedRows, std::vector<fw::Int32>{1});
    EXPECT_EQ(cells[1]->paintedOn, std::vector<const fw::Graphics*>{&g});
    // The cell draws over the fill, in the same context.
    ASSERT_EQ(g.calls.size(), 2u);
    EXPECT_EQ(g.calls[0].op, "FillRect");
    EXPECT_EQ(g.calls[0].color, kSelection);
    EXPECT_EQ(g.calls[1].op, "DrawString");
    EXPECT_EQ(g.calls[1].text, "probe");
}

TEST_F(CustomCellListboxTest, GradientOnEveryCellOfEverySelectedRowOnly) {
    Make(5);
    const std::set<fw::Int32> selected = {0, 1, 3};
    for (auto r : selected) {
        list->SetSelected(r, true);
    }
    for (fw::Int32 row = 0; row < 5; ++row) {
        for (fw::Int32 column = 0; column < 3; ++column) {
            SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
            list->gradientOn.clear();
            RecordingGraphics g(20, 18);
            list->Event_CellBackgroundPaint(g, row, column);
            if (selected.count(row) != 0) {
                EXPECT_EQ(list->gradientOn, std::vector<const fw::Graphics*>{&g});
            } else {
                EXPECT_TRUE(list->gradientOn.empty());
            }
        }
    }
    // Only the column that holds cells was handed to them, once per row.
    for (fw::Int32 row = 0; row < 5; ++row) {
        EXPECT_EQ(cells[static_cast<std::size_t>(row)]->paintedRows, std::vector<fw::Int32>{row});
    }
}

TEST_F(CustomCellListboxTest, RowPastTheLastGetsTheStripeRuleAndNoHookOrCell) {
    Make(3);
    for (fw::Int32 r = 0; r < 3; ++r) {
        list->SetSelected(r, true);
    }
    for (fw::Int32 row : {3, 4, 10}) {
        SCOPED_TRACE(row);
        RecordingGraphics g(20, 18);
        EXPECT_TRUE(list->Event_CellBackgroundPaint(g, row, 1));
        if (row % 2 == 0) {
            ASSERT_EQ(g.calls.size(), 1u);
            EXPECT_EQ(g.calls[0].color, kStripe);
        } else {
            EXPECT_TRUE(g.calls.empty());
        }
    }
    EXPECT_TRUE(list->gradientOn.empty());
    EXPECT_EQ(CellCalls(), 0u);
}

// Tags that hold something other than a cell are plain cells for painting, clicks and sorting.
TEST_F(CustomCellListboxTest, TagsWithoutACellAreTreatedAsPlainCells) {
    Make(2);
    const std::vector<std::pair<const char*, fw::Variant>> tags = {
        {"empty", fw::Variant()},
        {"text", fw::Variant("3")},
        {"number", fw::Variant(3.0)},
        {"other object", fw::Variant(std::make_shared<NotACell>())},
    };
    for (const auto& [name, tag] : tags) {
        SCOPED_TRACE(name);
        list->SetCellTag(0, 2, tag);
        list->SetCellTag(1, 2, tag);
        RecordingGraphics g(20, 18);
        EXPECT_TRUE(list->Event_CellBackgroundPaint(g, 0, 2));
        ASSERT_EQ(g.calls.size(), 1u);  // the stripe only
        EXPECT_FALSE(list->Event_CellClick(0, 2, 5, 5));
        fw::Int32 result = 777;
        EXPECT_FALSE(list->Event_CompareRows(0, 1, 2, result));
        EXPECT_EQ(result, 777);
    }
    EXPECT_FALSE(list->Event_CellClick(1, 0, 5, 5));  // a text cell without any tag
    EXPECT_TRUE(list->consumedBy.empty());
    EXPECT_TRUE(list->declinedBy.empty());
    EXPECT_EQ(CellCalls(), 0u);
}

TEST_F(CustomCellListboxTest, ConsumedClickRaisesCustomCellClickAndClaimsTheClick) {
    list = std::make_shared<ProbeList>();
    list->SetColumnCount(3);
    list->AddRow("a");
    list->AddRow("b");
    auto cell = std::make_shared<ProbeCell>(0, /*consumes=*/true);
    list->customCell(1, 2, cell);
    list->SetSelected(0, true);

    EXPECT_TRUE(list->Event_CellClick(1, 2, 7, -4));

    ASSERT_EQ(cell->clicks.size(), 1u);
    EXPECT_EQ(cell->clicks[0].row, 1);
    EXPECT_EQ(cell->clicks[0].column, 2);
    EXPECT_EQ(cell->clicks[0].x, 7);
    EXPECT_EQ(cell->clicks[0].y, -4);
    EXPECT_EQ(list->consumedBy, std::vector<const CustomListboxCell*>{cell.get()});
    EXPECT_TRUE(list->declinedBy.empty());
    EXPECT_EQ(listtest::SelectedRows(*list), std::vector<fw::Int32>{0});
}

TEST_F(CustomCellListboxTest, DeclinedClickGivesTheCellClickEventsAnswer) {
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "the event claims it" : "no one claims it");
        Make(2);
        list->declinedAnswer = answer;
        EXPECT_EQ(list->Event_CellClick(1, 1, 3, 4), answer);
        EXPECT_EQ(cells[1]->clicks.size(), 1u);
        EXPECT_EQ(list->declinedBy, std::vector<const CustomListboxCell*>{cells[1].get()});
        EXPECT_TRUE(list->consumedBy.empty());
    }
}

TEST(CustomCellListboxDefaults, DeclinedClickWithoutHandlerIsFalse) {
    auto list = std::make_shared<CustomCellListbox>();
    list->SetColumnCount(2);
    list->AddRow("a");
    auto declines = std::make_shared<ProbeCell>(0, false);
    auto consumes = std::make_shared<ProbeCell>(0, true);
    list->customCell(0, 0, declines);
    list->customCell(0, 1, consumes);
    EXPECT_FALSE(list->Event_CellClick(0, 0, 1, 1));
    EXPECT_TRUE(list->Event_CellClick(0, 1, 1, 1));
}

// The delete button removes its own row from inside its click, and a paint handler may drop
// the row it paints; the cell must outlive the call.
struct RemovalReport {
    bool destroyed = false;
    bool destroyedDuringClick = false;
    bool destroyedDuringPaint = false;
    std::string touched;
};

class SelfRemovingCell : public CustomListboxCell {
public:
    SelfRemovingCell(CustomCellListbox& list, RemovalReport& report)
        : list_(list), report_(report) {}
    ~SelfRemovingCell() override { report_.destroyed = true; }

    bool cellClick(fw::Int32 row, fw::Int32, fw::Int32, fw::Int32) override {
        list_.RemoveRow(row);
        // Our own members after the removal: a freed cell shows here under the address sanitizer.
        history_ += "clicked";
        report_.destroyedDuringClick = report_.destroyed;
        report_.touched = history_;
        return consumes;
    }
    void cellPaint(fw::Graphics&, fw::Int32 row) override {
        list_.RemoveRow(row);
        history_ += "painted";
        report_.destroyedDuringPaint = report_.destroyed;
        report_.touched = history_;
    }
    fw::Int32 compareValue() override { return 0; }
    void owner(CustomCellListbox&) override {}
    void setValue(fw::Int32) override {}
    fw::Int32 getValue() override { return 0; }

    bool consumes = true;

private:
    CustomCellListbox& list_;
    RemovalReport& report_;
    std::string history_ = "made;";
};

TEST_F(CustomCellListboxTest, CellOutlivesItsClickThatRemovesItsOwnRow) {
    for (bool consumes : {true, false}) {
        for (fw::Int32 row : {0, 1, 2}) {
            SCOPED_TRACE(std::string(consumes ? "consumed" : "declined") + ", row " +
                         std::to_string(row));
            Make(3);
            RemovalReport report;
            {
                // Its own allocation, so that a premature release frees the memory it uses.
                std::shared_ptr<SelfRemovingCell> cell(new SelfRemovingCell(*list, report));
                cell->consumes = consumes;
                list->customCell(row, 2, cell);
            }
            EXPECT_EQ(list->Event_CellClick(row, 2, 1, 1), consumes);
            EXPECT_FALSE(report.destroyedDuringClick);
            EXPECT_EQ(report.touched, "made;clicked");
            EXPECT_TRUE(report.destroyed) << "released once the click has returned";
            EXPECT_EQ(list->ListCount(), 2);
        }
    }
}

class ThrowingCell : public ProbeCell {
public:
    bool cellClick(fw::Int32, fw::Int32, fw::Int32, fw::Int32) override {
        throw fw::OutOfBoundsException("from the cell");
    }
    fw::Int32 compareValue() override { throw std::runtime_error("no key"); }
};

TEST_F(CustomCellListboxTest, CellOutlivesItsPaintThatRemovesItsOwnRow) {
    for (fw::Int32 row : {0, 2}) {
        SCOPED_TRACE("row " + std::to_string(row));
        Make(3);
        RemovalReport report;
        {
            std::shared_ptr<SelfRemovingCell> cell(new SelfRemovingCell(*list, report));
            list->customCell(row, 2, cell);
        }
        RecordingGraphics g(20, 18);
        list->Event_CellBackgroundPaint(g, row, 2);
        EXPECT_FALSE(report.destroyedDuringPaint);
        EXPECT_EQ(report.touched, "made;painted");
        EXPECT_TRUE(report.destroyed) << "released once the paint has returned";
        EXPECT_EQ(list->ListCount(), 2);
    }
}

TEST_F(CustomCellListboxTest, ExceptionFromACellLeavesTheHandlerAndReleasesItsHold) {
    Make(2);
    auto thrower = std::make_shared<ThrowingCell>();
    list->customCell(0, 2, thrower);
    list->customCell(1, 2, std::make_shared<ProbeCell>(1));
    EXPECT_THROW(list->Event_CellClick(0, 2, 1, 1), fw::OutOfBoundsException);
    fw::Int32 result = 0;
    EXPECT_THROW(list->Event_CompareRows(0, 1, 2, result), std::runtime_error);
    // Only the tag and this test still hold it: the handlers let go on the way out.
    EXPECT_EQ(thrower.use_count(), 2);
    EXPECT_TRUE(list->consumedBy.empty());
    EXPECT_TRUE(list->declinedBy.empty());
}

TEST_F(CustomCellListboxTest, CompareRowsGivesTheUnreducedDifferenceOfTheKeys) {
    struct Case {
        fw::Int32 first, second, expected;
    };
    const std::vector<Case> cases = {{3, 1, 2},      {1, 3, -2},   {2, 2, 0},
                                     {130, 100, 30}, {-5, 7, -12}, {0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + " vs " + std::to_string(c.second));
        Make(3);
        cells[0]->setValue(c.first);
        cells[2]->setValue(c.second);
        fw::Int32 result = 999;
        EXPECT_TRUE(list->Event_CompareRows(0, 2, 1, result));
        EXPECT_EQ(result, c.expected);
    }
}

TEST_F(CustomCellListboxTest, CompareRowsWithACellOnOneSideOnlyLeavesResultAlone) {
    Make(2);
    list->customCell(0, 2, std::make_shared<ProbeCell>(5));
    list->SetCellTag(1, 2, fw::Variant("1"));
    for (const auto& [a, b] : std::vector<std::pair<fw::Int32, fw::Int32>>{{0, 1}, {1, 0}}) {
        SCOPED_TRACE(std::to_string(a) + " vs " + std::to_string(b));
        fw::Int32 result = -31;
        EXPECT_FALSE(list->Event_CompareRows(a, b, 2, result));
        EXPECT_EQ(result, -31);
    }
    // Column 0 holds texts only.
    fw::Int32 result = 4;
    EXPECT_FALSE(list->Event_CompareRows(0, 1, 0, result));
    EXPECT_EQ(result, 4);
}

TEST_F(CustomCellListboxTest, CustomCellReplacesThePreviousCellAndTellsEachItsOwner) {
    Make(1);
    auto first = std::make_shared<ProbeCell>(1);
    auto second = std::make_shared<ProbeCell>(2);
    list->customCell(0, 2, first);
    list->customCell(0, 2, second);

    EXPECT_EQ(CellAt(*list, 0, 2), second);
    EXPECT_EQ(first.use_count(), 1) << "the list let go of the replaced cell";
    EXPECT_EQ(first->owners, std::vector<const CustomCellListbox*>{list.get()});
    EXPECT_EQ(second->owners, std::vector<const CustomCellListbox*>{list.get()});

    // Attaching the same object again tells it again.
    list->customCell(0, 2, second);
    EXPECT_EQ(second->owners.size(), 2u);
    EXPECT_EQ(CellAt(*list, 0, 2), second);
}

TEST_F(CustomCellListboxTest, CustomCellWithNilEmptiesTheTagAndThrows) {
    Make(1);
    auto previous = std::make_shared<ProbeCell>(1);
    list->customCell(0, 2, previous);
    EXPECT_THROW(list->customCell(0, 2, nullptr), fw::NilObjectException);
    EXPECT_TRUE(list->CellTag(0, 2).IsNil());
    EXPECT_EQ(previous.use_count(), 1);
    EXPECT_EQ(previous->owners.size(), 1u);
}

// The repaint after a click needs the real widget, so these run on the main window's list.
class CustomCellRepaint : public MainFixture {
protected:
    // Paints that reach the cell while events are processed after a click made by `click`.
    std::vector<fw::Int32> PaintsAfter(bool consumes) {
        AddRows({"a.wav", "b.wav", "c.wav"});
        auto cell = std::make_shared<ProbeCell>(0, consumes);
        List().customCell(1, 0, cell);
        QCoreApplication::processEvents();
        cell->paintedRows.clear();
        List().Event_CellClick(1, 0, 4, 4);
        QCoreApplication::processEvents();
        return cell->paintedRows;
    }
};

TEST_F(CustomCellRepaint, ConsumedClickRepaintsTheCell) {
    const auto painted = PaintsAfter(true);
    EXPECT_NE(std::find(painted.begin(), painted.end(), 1), painted.end());
}

TEST_F(CustomCellRepaint, DeclinedClickLeavesRepaintingToTheList) {
    EXPECT_TRUE(PaintsAfter(false).empty());
}

}  // namespace
