#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "framework/Listbox.h"
#include "framework/PropertySet.h"
#include "framework/Strings.h"
#include "framework/Window.h"

namespace {

// A tag object that knows which row it was put in.
class Marker : public fw::Object {
public:
    explicit Marker(std::string id) : id(std::move(id)) {}
    std::string id;
};

std::shared_ptr<fw::Listbox> MakeList(fw::Int32 columns) {
    auto list = std::make_shared<fw::Listbox>();
    list->SetColumnCount(columns);
    return list;
}

// Rows with these texts in column 0 and their position as an id in column 1.
std::shared_ptr<fw::Listbox> ListOf(const std::vector<std::string>& texts,
                                    std::shared_ptr<fw::Listbox> list = nullptr) {
    if (!list) {
        list = MakeList(2);
    } else {
        list->SetColumnCount(2);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        list->AddRow(texts[i]);
        list->SetCell(list->LastIndex(), 1, std::to_string(i));
    }
    return list;
}

std::vector<std::string> Column(const fw::Listbox& list, fw::Int32 column) {
    std::vector<std::string> out;
    for (fw::Int32 r = 0; r < list.ListCount(); ++r) {
        out.push_back(list.Cell(r, column));
    }
    return out;
}

std::vector<fw::Int32> SelectedRows(const fw::Listbox& list) {
    std::vector<fw::Int32> out;
    for (fw::Int32 r = 0; r < list.ListCount(); ++r) {
        if (list.Selected(r)) {
            out.push_back(r);
        }
    }
    return out;
}

void CountChanges(fw::Listbox& list, int& counter) {
    list.Connect<void(fw::Listbox&)>("Change", "(  )", [&counter](fw::Listbox&) { ++counter; });
}

TEST(ListboxTest, AddRowAppendsAfterTheLastRow) {
    auto list = MakeList(3);
    EXPECT_EQ(list->ListCount(), 0);
    EXPECT_EQ(list->LastIndex(), -1);
    list->AddRow("b");
    list->AddRow("a");
    EXPECT_EQ(list->ListCount(), 2);
    EXPECT_EQ(list->LastIndex(), 1);
    EXPECT_EQ(list->Cell(1, 0), "a");
    EXPECT_EQ(list->Cell(1, 1), "");
    EXPECT_EQ(list->Cell(1, 2), "");
    EXPECT_TRUE(list->CellTag(1, 2).IsNil());

    // Whatever the sort order, a new row goes last.
    list->SortByColumn(0, true);
    list->AddRow("0 first by name");
    EXPECT_EQ(list->LastIndex(), 2);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"a", "b", "0 first by name"}));
}

TEST(ListboxTest, CellsKeepTheirTextsAndTags) {
    auto list = MakeList(3);
    list->AddRow("파일 이름.wav");
    list->SetCell(0, 2, "Ready");
    auto marker = std::make_shared<Marker>("m");
    std::weak_ptr<Marker> watch = marker;
    list->SetCellTag(0, 1, marker);
    marker.reset();
    EXPECT_EQ(list->Cell(0, 0), "파일 이름.wav");
    EXPECT_EQ(list->Cell(0, 2), "Ready");
    ASSERT_NE(fw::VariantAs<Marker>(list->CellTag(0, 1)), nullptr);
    EXPECT_EQ(fw::VariantAs<Marker>(list->CellTag(0, 1))->id, "m");
    // The tag held the only reference: storing another value releases the object.
    EXPECT_FALSE(watch.expired());
    list->SetCellTag(0, 1, fw::Variant("text"));
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(list->CellTag(0, 1).IsText());
}

TEST(ListboxTest, MissingRowOrColumnRaisesOutOfBounds) {
    struct Case {
        const char* name;
        std::function<void(fw::Listbox&)> access;
    };
    const std::vector<Case> cases = {
        {"Cell of row -1", [](fw::Listbox& l) { l.Cell(-1, 0); }},
        {"Cell of the row after the last", [](fw::Listbox& l) { l.Cell(2, 0); }},
        {"Cell of column -1", [](fw::Listbox& l) { l.Cell(0, -1); }},
        {"Cell of the column after the last", [](fw::Listbox& l) { l.Cell(0, 3); }},
        {"SetCell of a missing row", [](fw::Listbox& l) { l.SetCell(2, 0, "x"); }},
        {"SetCell of a missing column", [](fw::Listbox& l) { l.SetCell(0, 3, "x"); }},
        {"CellTag of a missing row", [](fw::Listbox& l) { l.CellTag(2, 0); }},
        {"CellTag of a missing column", [](fw::Listbox& l) { l.CellTag(1, 3); }},
        {"SetCellTag of a missing row", [](fw::Listbox& l) { l.SetCellTag(-1, 0, "x"); }},
        {"SetCellTag of a missing column", [](fw::Listbox& l) { l.SetCellTag(0, 7, "x"); }},
        {"RemoveRow of a missing row", [](fw::Listbox& l) { l.RemoveRow(2); }},
        {"RemoveRow of row -1", [](fw::Listbox& l) { l.RemoveRow(-1); }},
        {"SortByColumn of a missing column", [](fw::Listbox& l) { l.SortByColumn(3, true); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = MakeList(3);
        list->AddRow("a");
        list->AddRow("b");
        EXPECT_THROW(c.access(*list), fw::OutOfBoundsException);
        EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"a", "b"}));
    }
    auto empty = MakeList(1);
    EXPECT_THROW(empty->Cell(0, 0), fw::OutOfBoundsException);
}

class BareWindow : public fw::Window {};

TEST(ListboxTest, InvalidateCellOfAMissingRowDoesNothing) {
    // On a window, so that the list has a view that would be asked to repaint.
    auto window = std::make_shared<BareWindow>();
    auto list = MakeList(3);
    window->Register("List1", list);
    window->ResizeContent(300, 200);
    list->AddRow("a");
    for (const fw::Int32 row : {-1, 1, 5, std::numeric_limits<fw::Int32>::max()}) {
        SCOPED_TRACE(row);
        EXPECT_NO_THROW(list->InvalidateCell(row, 0));
    }
    EXPECT_NO_THROW(list->InvalidateCell(0, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(list->ListCount(), 1);
}

TEST(ListboxTest, SelectedOfAMissingRowIsFalse) {
    auto list = ListOf({"a", "b"});
    list->SetSelected(0, true);
    list->SetSelected(1, true);
    for (const fw::Int32 row : {-1, 2, 100}) {
        SCOPED_TRACE(row);
        EXPECT_FALSE(list->Selected(row));
    }
}

TEST(ListboxTest, ListIndexIsTheFirstSelectedRowThroughRandomOperations) {
    std::mt19937 rng(4711);
    auto list = MakeList(2);
    auto below = [&](fw::Int32 n) {
        return std::uniform_int_distribution<fw::Int32>(0, n - 1)(rng);
    };
    int nextId = 0;
    for (int i = 0; i < 40; ++i) {
        list->AddRow(std::string(1, static_cast<char>('a' + below(26))));
        list->SetCell(list->LastIndex(), 1, std::to_string(nextId++));
    }
    for (int step = 0; step < 3000; ++step) {
        const int op = below(100);
        const fw::Int32 count = list->ListCount();
        std::string what;
        if (op < 35 && count > 0) {
            const fw::Int32 row = below(count);
            const bool on = below(3) != 0;
            what = "SetSelected " + std::to_string(row) + (on ? " on" : " off");
            list->SetSelected(row, on);
        } else if (op < 45) {
            const fw::Int32 row = count > 0 ? below(count + 1) - 1 : -1;
            what = "SetListIndex " + std::to_string(row);
            list->SetListIndex(row);
        } else if (op < 65 && count > 0) {
            const fw::Int32 row = below(count);
            what = "RemoveRow " + std::to_string(row);
            list->RemoveRow(row);
        } else if (op < 80) {
            what = "AddRow";
            list->AddRow(std::string(1, static_cast<char>('a' + below(26))));
            list->SetCell(list->LastIndex(), 1, std::to_string(nextId++));
        } else if (op < 88) {
            const bool ascending = below(2) == 0;
            what = std::string("SortByColumn ") + (ascending ? "ascending" : "descending");
            list->SortByColumn(below(2), ascending);
        } else if (op < 97 && count > 1) {
            std::vector<fw::Int32> rows;
            for (int k = below(4); k >= 0; --k) {
                rows.push_back(below(count));
            }
            const fw::Int32 before = below(count + 1);
            what = "MoveRows before " + std::to_string(before);
            list->MoveRows(rows, before);
        } else if (op == 99) {
            what = "DeleteAllRows";
            list->DeleteAllRows();
        } else {
            continue;
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
        const auto selected = SelectedRows(*list);
        ASSERT_EQ(list->ListIndex(), selected.empty() ? -1 : selected.front());
        ASSERT_EQ(list->SelCount(), static_cast<fw::Int32>(selected.size()));
    }
}

TEST(ListboxTest, SetListIndexSelectsThatRowAloneAndRaisesChangeOnce) {
    struct Case {
        const char* name;
        std::vector<fw::Int32> before;
        fw::Int32 index;
        std::vector<fw::Int32> after;
        int changes;
    };
    const std::vector<Case> cases = {
        {"from no selection", {}, 2, {2}, 1},
        {"from another row", {0}, 3, {3}, 1},
        {"from several rows including it", {1, 3, 4}, 3, {3}, 1},
        {"from several rows after it", {2, 4}, 0, {0}, 1},
        {"already the only selected row", {2}, 2, {2}, 0},
        {"below 0 clears the selection", {1, 2}, -1, {}, 1},
        {"below 0 without a selection", {}, -1, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = ListOf({"a", "b", "c", "d", "e"});
        for (const auto row : c.before) {
            list->SetSelected(row, true);
        }
        int changes = 0;
        CountChanges(*list, changes);
        list->SetListIndex(c.index);
        EXPECT_EQ(SelectedRows(*list), c.after);
        EXPECT_EQ(list->ListIndex(), c.after.empty() ? -1 : c.after.front());
        EXPECT_EQ(changes, c.changes);
    }
}

TEST(ListboxTest, UserClicksRaiseChangeOnlyWhenTheSelectionChanged) {
    using Kind = fw::Listbox::ClickKind;
    struct Click {
        fw::Int32 row;
        Kind kind;
    };
    struct Case {
        const char* name;
        fw::Int32 selectionType;
        std::vector<Click> before;  // not counted
        Click click;
        std::vector<fw::Int32> after;
        int changes;
    };
    const std::vector<Case> cases = {
        {"plain on a row", 1, {}, {2, Kind::Plain}, {2}, 1},
        {"plain on the only selected row", 1, {{2, Kind::Plain}}, {2, Kind::Plain}, {2}, 0},
        {"plain on one of several",
         1,
         {{1, Kind::Plain}, {2, Kind::Toggle}},
         {2, Kind::Plain},
         {2},
         1},
        {"plain below the last row", 1, {{1, Kind::Plain}}, {7, Kind::Plain}, {}, 1},
        {"toggle adds", 1, {{1, Kind::Plain}}, {3, Kind::Toggle}, {1, 3}, 1},
        {"toggle removes", 1, {{1, Kind::Plain}, {3, Kind::Toggle}}, {1, Kind::Toggle}, {3}, 1},
        {"extend down from the anchor", 1, {{1, Kind::Plain}}, {3, Kind::Extend}, {1, 2, 3}, 1},
        {"extend up from the anchor", 1, {{3, Kind::Plain}}, {1, Kind::Extend}, {1, 2, 3}, 1},
        {"extend to the same range again",
         1,
         {{1, Kind::Plain}, {3, Kind::Extend}},
         {3, Kind::Extend},
         {1, 2, 3},
         0},
        {"single selection: toggle acts as plain",
         0,
         {{1, Kind::Plain}},
         {3, Kind::Toggle},
         {3},
         1},
        {"single selection: extend acts as plain",
         0,
         {{1, Kind::Plain}},
         {3, Kind::Extend},
         {3},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = ListOf({"a", "b", "c", "d", "e"});
        list->ApplyPropertySet(
            fw::PropertySetBuilder().Int32("SelectionType", c.selectionType).Build());
        for (const auto& click : c.before) {
            list->UserClick(click.row, click.kind);
        }
        int changes = 0;
        CountChanges(*list, changes);
        list->UserClick(c.click.row, c.click.kind);
        EXPECT_EQ(SelectedRows(*list), c.after);
        EXPECT_EQ(changes, c.changes);
    }
}

TEST(ListboxTest, RemoveRowMovesLaterRowsUpWithTheirSelection) {
    auto list = ListOf({"a", "b", "c", "d", "e"});
    list->SetSelected(1, true);
    list->SetSelected(3, true);
    list->SetSelected(4, true);
    list->RemoveRow(2);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"a", "b", "d", "e"}));
    EXPECT_EQ(SelectedRows(*list), (std::vector<fw::Int32>{1, 2, 3}));
    EXPECT_EQ(list->ListIndex(), 1);

    list->RemoveRow(1);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"a", "d", "e"}));
    EXPECT_EQ(SelectedRows(*list), (std::vector<fw::Int32>{1, 2}));
    EXPECT_EQ(list->ListIndex(), 1);
    EXPECT_EQ(list->SelCount(), 2);
}

TEST(ListboxTest, RemovingSelectedRowsFromTheLastLeavesTheOthers) {
    auto list = MakeList(1);
    for (int i = 0; i < 10000; ++i) {
        list->AddRow(std::to_string(i));
        list->SetSelected(i, i % 2 == 1);
    }
    for (fw::Int32 r = list->ListCount() - 1; r >= 0; --r) {
        if (list->Selected(r)) {
            list->RemoveRow(r);
        }
    }
    ASSERT_EQ(list->ListCount(), 5000);
    EXPECT_EQ(list->ListIndex(), -1);
    EXPECT_EQ(list->SelCount(), 0);
    for (fw::Int32 r = 0; r < list->ListCount(); ++r) {
        ASSERT_EQ(list->Cell(r, 0), std::to_string(2 * r));
    }
}

// A tag whose destructor looks at the list, as a cell object may.
class Probe : public fw::Object {
public:
    Probe(fw::Listbox& list, fw::Int32& count, fw::Int32& index)
        : list_(list), count_(count), index_(index) {}
    ~Probe() override {
        count_ = list_.ListCount();
        index_ = list_.ListIndex();
    }

private:
    fw::Listbox& list_;
    fw::Int32& count_;
    fw::Int32& index_;
};

TEST(ListboxTest, RemoveRowReleasesItsTagsOnceTheListIsWhole) {
    auto list = ListOf({"a", "b", "c"});
    fw::Int32 count = -2, index = -2;
    list->SetCellTag(1, 1, std::make_shared<Probe>(*list, count, index));
    auto kept = std::make_shared<Marker>("kept");
    list->SetCellTag(1, 0, kept);
    list->SetSelected(1, true);
    list->SetSelected(2, true);
    list->RemoveRow(1);
    // The tag went with its row, and saw the list as it is after the removal.
    EXPECT_EQ(count, 2);
    EXPECT_EQ(index, 1);
    // Whoever else holds a cell object keeps it.
    EXPECT_EQ(kept->id, "kept");
    EXPECT_EQ(kept.use_count(), 1);
}

TEST(ListboxTest, SortByColumnIsStableAndIgnoresCase) {
    struct Case {
        const char* name;
        bool ascending;
        std::vector<std::string> ids;
    };
    // Texts: b A c a B a, ids 0 to 5.
    const std::vector<Case> cases = {
        {"ascending", true, {"1", "3", "5", "0", "4", "2"}},
        {"descending", false, {"2", "0", "4", "1", "3", "5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = ListOf({"b", "A", "c", "a", "B", "a"});
        list->SortByColumn(0, c.ascending);
        EXPECT_EQ(Column(*list, 1), c.ids);
        EXPECT_EQ(list->SortedColumn(), 0);
        EXPECT_EQ(list->SortAscending(), c.ascending);
    }
}

TEST(ListboxTest, SortComparesNonAsciiTextsIgnoringCase) {
    auto list = ListOf({"Ünter", "ÉLAN", "éclair", "über", "가", "a"});
    list->SortByColumn(0, true);
    const auto texts = Column(*list, 0);
    auto at = [&](const std::string& t) {
        return std::find(texts.begin(), texts.end(), t) - texts.begin();
    };
    // Compared by code unit, capitals with accents would come before every small letter.
    EXPECT_LT(at("éclair"), at("ÉLAN"));
    EXPECT_LT(at("über"), at("Ünter"));
    EXPECT_EQ(texts.front(), "a");
}

// Many names with long shared beginnings, some beyond ASCII, in a fixed scrambled order: the
// list orders them as a stable sort by QString's case-insensitive comparison does, and every
// row arrives whole, with its texts and its tag.
TEST(ListboxTest, SortByNameMatchesAStableCaseInsensitiveQStringSort) {
    const std::vector<std::string> stems = {"Artist Name - Album - ",
                                            "artist name - album - ",
                                            "ARTIST NAME - ALBUM",
                                            "ZZ Top - ",
                                            "zz top - ",
                                            "[z]",
                                            "Ärtist",
                                            "artist",
                                            "Artist Name - Älbum - ",
                                            "파일 ",
                                            "Artist Nam"};
    std::vector<std::string> names;
    std::mt19937 rng(7);
    for (int i = 0; i < 600; ++i) {
        names.push_back(stems[rng() % stems.size()] + std::to_string(rng() % 40) +
                        (rng() % 2 ? ".mp3" : ".MP3"));
    }
    auto list = MakeList(3);
    for (std::size_t i = 0; i < names.size(); ++i) {
        list->AddRow(names[i]);
        list->SetCell(list->LastIndex(), 1, std::to_string(i));
        list->SetCellTag(list->LastIndex(), 2, std::make_shared<Marker>(std::to_string(i)));
    }
    for (const bool ascending : {true, false}) {
        SCOPED_TRACE(ascending ? "ascending" : "descending");
        // From the order the rows were added in, each time.
        list->SortByColumn(1, true);
        std::vector<std::size_t> expected(names.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
            return std::to_string(a) < std::to_string(b);
        });
        std::stable_sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
            const int cmp = QString::compare(QString::fromStdString(names[a]),
                                             QString::fromStdString(names[b]), Qt::CaseInsensitive);
            return ascending ? cmp < 0 : cmp > 0;
        });
        list->SortByColumn(0, ascending);
        ASSERT_EQ(list->ListCount(), static_cast<fw::Int32>(names.size()));
        for (fw::Int32 r = 0; r < list->ListCount(); ++r) {
            const std::string id = std::to_string(expected[static_cast<std::size_t>(r)]);
            ASSERT_EQ(list->Cell(r, 1), id) << "row " << r;
            EXPECT_EQ(list->Cell(r, 0), names[expected[static_cast<std::size_t>(r)]]);
            EXPECT_EQ(fw::VariantAs<Marker>(list->CellTag(r, 2))->id, id);
        }
    }
}

// Orders column 2 by its number; other columns are left to the framework.
class NumericList : public fw::Listbox {
public:
    bool Event_CompareRows(fw::Int32 row1, fw::Int32 row2, fw::Int32 column,
                           fw::Int32& result) override {
        ++calls;
        if (column != 2) {
            return false;
        }
        const double a = fw::Val(Cell(row1, column));
        const double b = fw::Val(Cell(row2, column));
        // Magnitudes beyond -1..1: only the sign may count.
        result = a < b ? -1000 : (a > b ? 70000 : 0);
        return true;
    }
    int calls = 0;
};

TEST(ListboxTest, SortUsesCompareRowsFirstAndTextOtherwise) {
    auto list = std::make_shared<NumericList>();
    ListOf({"x", "y", "z", "w"}, list);
    list->SetColumnCount(3);
    const std::vector<std::string> numbers = {"10", "9", "100", "9"};
    for (fw::Int32 r = 0; r < 4; ++r) {
        list->SetCell(r, 2, numbers[static_cast<std::size_t>(r)]);
    }
    list->SortByColumn(2, true);
    EXPECT_GT(list->calls, 0);
    // By number, not by text ("10" < "100" < "9"); the two 9s keep their order.
    EXPECT_EQ(Column(*list, 2), (std::vector<std::string>{"9", "9", "10", "100"}));
    EXPECT_EQ(Column(*list, 1), (std::vector<std::string>{"1", "3", "0", "2"}));
    list->SortByColumn(2, false);
    EXPECT_EQ(Column(*list, 1), (std::vector<std::string>{"2", "0", "1", "3"}));
    list->SortByColumn(0, true);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"w", "x", "y", "z"}));
}

TEST(ListboxTest, SortCarriesTagsAndSelectionWithTheirRows) {
    auto list = ListOf({"d", "b", "a", "c"});
    for (fw::Int32 r = 0; r < 4; ++r) {
        list->SetCellTag(r, 0, std::make_shared<Marker>(list->Cell(r, 0)));
    }
    list->SetSelected(0, true);  // d
    list->SetSelected(2, true);  // a
    list->SortByColumn(0, true);
    for (fw::Int32 r = 0; r < 4; ++r) {
        SCOPED_TRACE(r);
        const auto* marker = fw::VariantAs<Marker>(list->CellTag(r, 0));
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(marker->id, list->Cell(r, 0));
    }
    EXPECT_EQ(SelectedRows(*list), (std::vector<fw::Int32>{0, 3}));
    EXPECT_EQ(list->ListIndex(), 0);
}

// Answers that no ordering can satisfy; the sort must still end with every row once.
class ErraticList : public fw::Listbox {
public:
    explicit ErraticList(std::function<fw::Int32(fw::Int32, fw::Int32)> answer)
        : answer_(std::move(answer)) {}
    bool Event_CompareRows(fw::Int32 row1, fw::Int32 row2, fw::Int32, fw::Int32& result) override {
        result = answer_(row1, row2);
        return true;
    }

private:
    std::function<fw::Int32(fw::Int32, fw::Int32)> answer_;
};

TEST(ListboxTest, InconsistentCompareRowsKeepsEveryRowOnce) {
    std::mt19937 rng(99);
    struct Case {
        const char* name;
        std::function<fw::Int32(fw::Int32, fw::Int32)> answer;
    };
    const std::vector<Case> cases = {
        {"random",
         [&rng](fw::Int32, fw::Int32) {
             return std::uniform_int_distribution<fw::Int32>(-1, 1)(rng);
         }},
        {"always before", [](fw::Int32, fw::Int32) { return -1; }},
        {"always after", [](fw::Int32, fw::Int32) { return 1; }},
        {"extreme values",
         [](fw::Int32 a, fw::Int32 b) {
             return (a + b) % 2 == 0 ? std::numeric_limits<fw::Int32>::min()
                                     : std::numeric_limits<fw::Int32>::max();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = std::make_shared<ErraticList>(c.answer);
        std::vector<std::string> texts;
        for (int i = 0; i < 1000; ++i) {
            texts.push_back("row");
        }
        ListOf(texts, list);
        for (fw::Int32 r = 0; r < 1000; r += 3) {
            list->SetSelected(r, true);
        }
        for (const bool ascending : {true, false}) {
            list->SortByColumn(0, ascending);
        }
        ASSERT_EQ(list->ListCount(), 1000);
        const auto ids = Column(*list, 1);
        EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 1000u);
        EXPECT_EQ(list->SelCount(), 334);
        const auto selected = SelectedRows(*list);
        EXPECT_EQ(list->ListIndex(), selected.front());
    }
}

TEST(ListboxTest, HeadingPressedSortsAndTurnsTheDirection) {
    auto list = ListOf({"b", "c", "a"});
    list->HeadingPressed(0);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"a", "b", "c"}));
    list->HeadingPressed(0);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"c", "b", "a"}));
    // Another heading starts ascending again.
    list->HeadingPressed(1);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_TRUE(list->SortAscending());
}

TEST(ListboxTest, MoveRowsPlacesThemInTheirOrderBeforeTheTarget) {
    struct Case {
        const char* name;
        std::vector<fw::Int32> rows;
        fw::Int32 before;
        std::vector<std::string> order;
    };
    const std::vector<Case> cases = {
        {"two rows, given in any order", {4, 1}, 3, {"a", "c", "b", "e", "d", "f"}},
        {"to the top", {2, 5}, 0, {"c", "f", "a", "b", "d", "e"}},
        {"to the end", {0, 2}, 6, {"b", "d", "e", "f", "a", "c"}},
        {"before a row that moves itself", {1, 2}, 2, {"a", "b", "c", "d", "e", "f"}},
        {"one row down", {0}, 2, {"b", "a", "c", "d", "e", "f"}},
        {"one row up", {3}, 1, {"a", "d", "b", "c", "e", "f"}},
        {"duplicates and missing rows ignored", {5, 5, -1, 9}, 0, {"f", "a", "b", "c", "d", "e"}},
        {"nothing to move", {}, 0, {"a", "b", "c", "d", "e", "f"}},
        {"target past the end", {0}, 99, {"b", "c", "d", "e", "f", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = ListOf({"a", "b", "c", "d", "e", "f"});
        list->MoveRows(c.rows, c.before);
        EXPECT_EQ(Column(*list, 0), c.order);
    }
}

TEST(ListboxTest, MoveRowsCarriesTextsTagsAndSelection) {
    auto list = ListOf({"a", "b", "c", "d"});
    for (fw::Int32 r = 0; r < 4; ++r) {
        list->SetCellTag(r, 1, std::make_shared<Marker>(list->Cell(r, 0)));
    }
    list->SetSelected(2, true);  // c
    list->SetSelected(3, true);  // d
    list->MoveRows({2, 3}, 0);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{"c", "d", "a", "b"}));
    EXPECT_EQ(Column(*list, 1), (std::vector<std::string>{"2", "3", "0", "1"}));
    for (fw::Int32 r = 0; r < 4; ++r) {
        SCOPED_TRACE(r);
        ASSERT_NE(fw::VariantAs<Marker>(list->CellTag(r, 1)), nullptr);
        EXPECT_EQ(fw::VariantAs<Marker>(list->CellTag(r, 1))->id, list->Cell(r, 0));
    }
    EXPECT_EQ(SelectedRows(*list), (std::vector<fw::Int32>{0, 1}));
    EXPECT_EQ(list->ListIndex(), 0);
}

TEST(ListboxTest, InitialValueFillsHeadingsAndRows) {
    struct Case {
        const char* name;
        bool hasHeading;
        std::string value;
        std::vector<std::string> headings;
        std::vector<std::vector<std::string>> rows;
    };
    const std::vector<Case> cases = {
        {"heading line only", true, "파일 이름\t확장자\t위치", {"파일 이름", "확장자", "위치"}, {}},
        {"heading and rows",
         true,
         "Name\tKind\tWhere\nsong.wav\twav\t/tmp\nother",
         {"Name", "Kind", "Where"},
         {{"song.wav", "wav", "/tmp"}, {"other", "", ""}}},
        {"rows without heading",
         false,
         "a\tb\r\nc\td\te\n",
         {"", "", ""},
         {{"a", "b", ""}, {"c", "d", "e"}}},
        {"fewer headings than columns", true, "Only", {"Only", "", ""}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto list = std::make_shared<fw::Listbox>();
        list->ApplyPropertySet(fw::PropertySetBuilder()
                                   .Int32("ColumnCount", 3)
                                   .Boolean("HasHeading", c.hasHeading)
                                   .String("InitialValue", c.value)
                                   .Build());
        EXPECT_EQ(list->HasHeading(), c.hasHeading);
        for (fw::Int32 col = 0; col < 3; ++col) {
            EXPECT_EQ(list->Heading(col), c.headings[static_cast<std::size_t>(col)]) << col;
        }
        ASSERT_EQ(list->ListCount(), static_cast<fw::Int32>(c.rows.size()));
        for (fw::Int32 r = 0; r < list->ListCount(); ++r) {
            std::vector<std::string> got;
            for (fw::Int32 col = 0; col < 3; ++col) {
                got.push_back(list->Cell(r, col));
            }
            EXPECT_EQ(got, c.rows[static_cast<std::size_t>(r)]) << "row " << r;
        }
    }
}

TEST(ListboxTest, ColumnPixelWidthsShareTheWidthByPercentage) {
    const std::vector<double> percents = {27, 8, 15, 10, 20, 7, 0, 13};
    auto list = MakeList(8);
    list->SetColumnWidths("27%,8%,15%,10%,20%,7%,0%,13%");
    EXPECT_EQ(list->ColumnPixelWidths(1000),
              (std::vector<fw::Int32>{270, 80, 150, 100, 200, 70, 0, 130}));
    for (const fw::Int32 width : {777, 10, 0, 5003}) {
        SCOPED_TRACE(width);
        const auto px = list->ColumnPixelWidths(width);
        ASSERT_EQ(px.size(), 8u);
        fw::Int32 total = 0;
        for (std::size_t i = 0; i < px.size(); ++i) {
            const double exact = percents[i] * width / 100.0;
            EXPECT_GE(px[i], 0);
            // The last column may take the pixels that rounding left over.
            if (i + 1 < px.size()) {
                EXPECT_LT(std::abs(px[i] - exact), 1.0) << "column " << i;
            }
            total += px[i];
        }
        // Shares of 100% fill the list, without a gap at the right.
        EXPECT_EQ(total, width);
        // The hidden number column stays hidden at every width.
        EXPECT_EQ(px[6], 0);
    }
}

TEST(ListboxTest, ColumnPixelWidthsMixPixelsPercentagesAndShares) {
    constexpr fw::Int32 kMax = std::numeric_limits<fw::Int32>::max();
    struct Case {
        const char* widths;
        fw::Int32 inner;
        std::vector<fw::Int32> expected;
    };
    const std::vector<Case> cases = {
        {"40,50%,*", 300, {40, 150, 110}},
        {"100", 400, {100, 150, 150}},
        {"", 300, {100, 100, 100}},
        {"90%,90%,*", 100, {90, 90, 0}},
        // Widths past the Int32 range saturate instead of wrapping to nonsense, and their sum
        // does not overflow what is left for the shares.
        {"1e12,*,*", 300, {kMax, 0, 0}},
        {"3000000000,3000000000,*", 300, {kMax, kMax, 0}},
        {"-1e12,*,*", 300, {0, 150, 150}},
        {"1e300%,10,*", 300, {kMax, 10, 0}},
        {"nan,50%,*", 300, {0, 150, 150}},
        {"inf,-inf,*", 300, {kMax, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.widths);
        auto list = MakeList(3);
        list->SetColumnWidths(c.widths);
        EXPECT_EQ(list->ColumnPixelWidths(c.inner), c.expected);
    }
}

}  // namespace
