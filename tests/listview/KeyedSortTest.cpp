#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "listview/CustomCellListbox.h"
#include "support/ListTestUtil.h"

namespace {

using listtest::ProbeCell;

// The same list sorted as before keys were read once: CompareRows for every pair.
class PairwiseList : public CustomCellListbox {
public:
    bool SortsByRowKeys() const override { return false; }
};

std::vector<std::string> Column0(const fw::Listbox& list) {
    std::vector<std::string> out;
    for (fw::Int32 r = 0; r < list.ListCount(); ++r) {
        out.push_back(list.Cell(r, 0));
    }
    return out;
}

// Rows with unique ids in column 0, names of mixed case and script in column 1, and in column 2
// a few keys, many ties, and here and there no cell at all.
template <class List>
std::shared_ptr<List> Filled(unsigned seed) {
    static const std::vector<std::string> names = {
        "b song",   "B Song",  "a",       "A",        "Äpfel",   "äpfel", "zebra",  "_under",
        "[bracket", "Ω omega", "ω omega", "track 10", "Track 9", "",      "straße", "STRASSE"};
    auto list = std::make_shared<List>();
    list->SetColumnCount(3);
    std::mt19937 rng(seed);
    for (int r = 0; r < 300; ++r) {
        list->AddRow(std::to_string(r).insert(0, "row "));
        list->SetCell(r, 1, names[rng() % names.size()]);
        if (rng() % 7 != 0) {
            list->customCell(r, 2, std::make_shared<ProbeCell>(static_cast<fw::Int32>(rng() % 4)));
        } else {
            list->SetCell(r, 2, names[rng() % names.size()]);
        }
    }
    return list;
}

TEST(KeyedSortTest, ReadingKeysOnceSortsAsComparingEveryPairDoes) {
    for (unsigned seed : {1u, 2u, 3u}) {
        auto keyed = Filled<CustomCellListbox>(seed);
        auto pairwise = Filled<PairwiseList>(seed);
        // One sort after another, so that each starts from the order the previous one left.
        for (const auto& [column, ascending] : std::vector<std::pair<fw::Int32, bool>>{
                 {2, true}, {2, false}, {1, true}, {2, true}, {1, false}, {2, false}}) {
            keyed->SortByColumn(column, ascending);
            pairwise->SortByColumn(column, ascending);
            ASSERT_EQ(Column0(*keyed), Column0(*pairwise))
                << "seed " << seed << ", column " << column << (ascending ? " up" : " down");
        }
    }
}

// Texts ignore case as QString does, whether or not they are ASCII; equal texts keep their order.
TEST(KeyedSortTest, TextsSortAsQStringIgnoringCase) {
    auto list = Filled<CustomCellListbox>(4);
    for (bool ascending : {true, false}) {
        std::vector<std::pair<QString, std::string>> expected;
        for (fw::Int32 r = 0; r < list->ListCount(); ++r) {
            expected.emplace_back(QString::fromStdString(list->Cell(r, 1)), list->Cell(r, 0));
        }
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
            const int cmp = QString::compare(a.first, b.first, Qt::CaseInsensitive);
            return ascending ? cmp < 0 : cmp > 0;
        });
        list->SortByColumn(1, ascending);
        for (fw::Int32 r = 0; r < list->ListCount(); ++r) {
            ASSERT_EQ(list->Cell(r, 0), expected[static_cast<std::size_t>(r)].second)
                << "row " << r << (ascending ? " up" : " down");
        }
    }
}

// Keys far apart still come in their true order (their difference would leave the Int32 range),
// and equal keys keep the order they had, in both directions.
TEST(KeyedSortTest, KeysComeInTheirTrueOrderAndTiesKeepTheirs) {
    constexpr fw::Int32 kMax = std::numeric_limits<fw::Int32>::max();
    constexpr fw::Int32 kMin = std::numeric_limits<fw::Int32>::min();
    const std::vector<fw::Int32> keys = {kMax, 0, kMin, 5, 0, kMax, -1, kMin};
    const std::vector<std::string> ids = {"k0", "k1", "k2", "k3", "k4", "k5", "k6", "k7"};
    auto owned = std::make_shared<CustomCellListbox>();
    auto& list = *owned;
    list.SetColumnCount(2);
    for (std::size_t r = 0; r < keys.size(); ++r) {
        list.AddRow(ids[r]);
        list.customCell(static_cast<fw::Int32>(r), 1, std::make_shared<ProbeCell>(keys[r]));
    }
    list.SortByColumn(1, true);
    EXPECT_EQ(Column0(list),
              (std::vector<std::string>{"k2", "k7", "k6", "k1", "k4", "k3", "k0", "k5"}));
    list.SortByColumn(1, false);
    EXPECT_EQ(Column0(list),
              (std::vector<std::string>{"k0", "k5", "k3", "k1", "k4", "k6", "k2", "k7"}));
}

}  // namespace
